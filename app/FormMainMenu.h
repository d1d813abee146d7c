#pragma once

#include <QHash>
#include <QMenu>
#include <QString>

class FormMain;
class QAction;

// The main window's menu, which its menu button opens: one action for each
// menu item of the game's state, with its shortcut, triggering the item's
// handler. The shortcuts act through the window while the menu is closed.
class FormMainMenu : public QMenu
{
public:
    explicit FormMainMenu(FormMain &window);

    // The action of a menu item, or the one that opens a submenu, by its
    // design name.
    QAction *action(const QString &name) const { return m_actions.value(name); }

private:
    QHash<QString, QAction *> m_actions;
};
