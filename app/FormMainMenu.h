#pragma once

#include <QHash>
#include <QString>

class FormMain;
class QAction;
class QMenu;

// The main window's menu, which its menu button opens: one action for each
// menu item of the game's state, with its shortcut, triggering the item's
// handler. The shortcuts act through the window while the menu is closed.
class FormMainMenu
{
public:
    explicit FormMainMenu(FormMain &window);
    FormMainMenu(const FormMainMenu &) = delete;
    FormMainMenu &operator=(const FormMainMenu &) = delete;

    QMenu *menu() const { return m_menuMain; }
    // The action of a menu item, or the one that opens a submenu, by its
    // design name.
    QAction *action(const QString &name) const { return m_actions.value(name); }

private:
    QHash<QString, QAction *> m_actions;
    QMenu *m_menuMain = nullptr;
};
