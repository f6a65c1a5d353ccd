// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QMessageBox;

// Acts as a user would, one step at a time from the event loop, so that a step may open a modal
// window and the next steps act inside it. Each step waits until its window is the active one.
class UserDriver
{
public:
    using Ready = std::function<bool()>;
    using Action = std::function<void()>;

    // Runs the action once `window` is the active window.
    UserDriver &on(QWidget *window, Action action);
    // Runs the action once the window named `formName` exists and is active; for forms that do
    // not exist yet when the steps are written.
    UserDriver &on(const char *formName, Action action);
    // Runs the action once a message box is up, then presses Enter on it.
    UserDriver &onMessageBox(std::function<void(QMessageBox &)> check);
    UserDriver &when(Ready ready, Action action);

    // Runs every step; returns once they have all run and every modal show they opened has
    // unwound. A step that never becomes ready fails the test and unwinds everything.
    void run();

private:
    static void unwindEverything();

    struct Step
    {
        Ready ready;
        Action action;
    };
    std::vector<Step> m_steps;
};

// Finds a top-level window by its object name, or nullptr.
QWidget *topLevel(const char *name);
// The visible top-level windows' object names, sorted.
std::vector<std::string> visibleWindows();

void pressKey(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void typeInto(QWidget *widget, const QString &text);
// Opens a menu with its Alt accelerator and chooses an item by its accelerator letter.
void chooseMenu(QWidget *window, Qt::Key menuKey, Qt::Key itemKey);

// The text as a screen shows it: accelerator ampersands removed.
QString shownText(const QString &caption);
