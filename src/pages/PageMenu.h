#pragma once

#include <span>

class QWidget;

// Opens a page as a menu entry does: modal, reading the device anew, gone
// when it closes.
using PageOpener = void (*)(QWidget *owner);

// One entry of the main menu. `menu` names the menu path, "|" between levels;
// `page` is the page's class name. An entry whose page is not in this build
// has no opener and is shown disabled.
struct PageMenuEntry {
    const char *menu;
    const char *text;
    const char *page;
    PageOpener open;
};

// The whole menu, in its order, with the openers the page areas registered.
std::span<const PageMenuEntry> PageMenu();

// What a page area hands to the menu: its pages' openers by class name.
struct PageRegistration {
    const char *page;
    PageOpener open;
};
