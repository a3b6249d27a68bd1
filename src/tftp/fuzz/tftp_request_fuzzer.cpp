// libFuzzer target: datagrams arriving on the listening port, through the
// request parser and the root-confinement of the requested name.

#include "VrTFTPPacket.h"
#include "VrTFTPPath.h"

#include <QFile>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace VrTFTPPacket;
    Request r;
    const auto result = parseRequest(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), &r);
    if (result != ParseResult::Request)
        return 0;
    if (r.blockSize && (*r.blockSize < MinBlockSize || *r.blockSize > MaxBlockSize))
        std::abort();
    if (const auto path = VrTFTPResolvePath(QStringLiteral("/srv/root/"),
                                            QFile::decodeName(r.fileName))) {
        if (!path->startsWith(u"/srv/root/") || path->contains(u"/../"))
            std::abort();
    }
    return 0;
}
