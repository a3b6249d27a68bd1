#pragma once

#include <QString>

// Texts the device information page derives from what it reads.

// The MAC address of the extra SSIDs: `increment` added to the first byte of
// the wireless MAC text (two hex digits), the rest of the text unchanged.
// When the sum no longer fits the byte the address is "000000000000" and
// `overflow` is set; a text that does not start with two hex digits gives
// the empty text.
QString SecondaryMacAddress(const QString &mac, int increment, bool *overflow);

// The "Security Level" summary of the wireless settings, from the displayed
// authentication, encryption ("Enable"/"Disable") and cipher texts, the key
// entry method (0 ascii, 1 hex) and the key; empty for an authentication it
// does not know.
QString SecurityLevelText(const QString &authentication, const QString &encryption, const QString &cipher,
                          int keyEntryMethod, const QString &key);
