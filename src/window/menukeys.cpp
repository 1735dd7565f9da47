// SPDX-License-Identifier: MIT
// Underlined letters and shortcuts of the menu entries, and F10 for the menu bar.
#include "window/menukeys.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>
#include <string>
#include <string_view>

#include "platform/design.h"
#include "window/qtsupport.h"

namespace pelorix::qt {

namespace {

struct Mark {
    Menu entry;
    // The letter underlined is the first of this text, where it first occurs in the caption.
    std::string_view from;
};

// Letters that do not clash within a menu, each taken from the word that tells the entry apart
// from its neighbours. The help texts, which do nothing when chosen, have none.
constexpr Mark marks[] = {
    {Menu::options, "Options"},
    {Menu::puzzle7, "Puzzle"},
    {Menu::newpuzzle, "New"},
    {Menu::prandom, "random"},
    {Menu::pnrandom, "ot random"},
    {Menu::choosepicture, "Choose"},
    {Menu::choosepicture2, "animated"},
    {Menu::anispeed, "Animated"},
    {Menu::tslow, "Slow"},
    {Menu::tfast, "Fast"},
    {Menu::soptions, "Solving"},
    {Menu::usolve, "User"},
    {Menu::csolve, "regular"},
    {Menu::csolves, "scr-saver"},
    {Menu::ctime, "time"},
    {Menu::cpiece, "piece"},
    {Menu::cpicture, "load"},
    {Menu::quit, "Quit"},
    {Menu::instructions, "Instructions"},
    {Menu::dfdf, "Moving"},
    {Menu::fdgff, "Key"},
    {Menu::fdfgfg, "Moving"},
    {Menu::dfgfgfg, "Toggling"},
};

struct Shortcut {
    Menu entry;
    QKeyCombination keys;
};

constexpr Shortcut shortcuts[] = {
    {Menu::newpuzzle, Qt::CTRL | Qt::Key_N},
    {Menu::quit, Qt::CTRL | Qt::Key_Q},
};

}  // namespace

QString menuText(Menu entry) {
    const std::string_view caption = design(entry).caption;
    std::string_view::size_type markAt = std::string_view::npos;
    for (const Mark& mark : marks)
        if (mark.entry == entry) markAt = caption.find(mark.from);
    std::string text;
    for (std::string_view::size_type i = 0; i < caption.size(); ++i) {
        if (i == markAt) text += '&';
        text += caption[i];
        if (caption[i] == '&') text += '&';
    }
    return qstr(text);
}

QKeySequence menuShortcut(Menu entry) {
    for (const Shortcut& shortcut : shortcuts)
        if (shortcut.entry == entry) return QKeySequence(shortcut.keys);
    return {};
}

void openMenusOnF10(QMainWindow& window) {
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    QMenuBar* bar = window.menuBar();
    QObject::connect(f10, &QShortcut::activated, bar, [bar] {
        for (QAction* menu : bar->actions())
            if (menu->isVisible() && menu->isEnabled()) {
                bar->setActiveAction(menu);
                return;
            }
    });
}

}  // namespace pelorix::qt
