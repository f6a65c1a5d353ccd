// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "UserDriver.h"

#include <QApplication>
#include <QEventLoop>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

UserDriver &UserDriver::on(QWidget *window, Action action)
{
    const QPointer<QWidget> target(window);
    return when([target] { return target && QApplication::activeWindow() == target; },
                std::move(action));
}

UserDriver &UserDriver::on(const char *formName, Action action)
{
    return when(
        [formName] {
            QWidget *window = topLevel(formName);
            return window && QApplication::activeWindow() == window;
        },
        std::move(action));
}

UserDriver &UserDriver::onMessageBox(std::function<void(QMessageBox &)> check)
{
    return when([] { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); },
                [check = std::move(check)] {
                    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                    check(*box);
                    pressKey(box, Qt::Key_Return);
                });
}

UserDriver &UserDriver::when(Ready ready, Action action)
{
    m_steps.push_back({std::move(ready), std::move(action)});
    return *this;
}

void UserDriver::run()
{
    constexpr int kTickMs = 1;
    constexpr int kPatienceTicks = 5000;
    QEventLoop done;
    std::size_t next = 0;
    int waited = 0;
    std::function<void()> tick;
    // Every tick is a timer of its own: Qt never fires a timer again while its slot runs, and a
    // step's slot runs on beneath the modal loops it opens.
    const auto scheduleTick = [&] {
        QTimer::singleShot(kTickMs, &done, [&] { tick(); });
    };
    tick = [&] {
        if (next == m_steps.size()) {
            done.quit();
            return;
        }
        if (!m_steps[next].ready()) {
            if (++waited < kPatienceTicks) {
                scheduleTick();
                return;
            }
            ADD_FAILURE() << "step " << next << " never became ready; visible windows: "
                          << testing::PrintToString(visibleWindows());
            unwindEverything();
            done.quit();
            return;
        }
        waited = 0;
        scheduleTick();
        // The step may not return until a modal window it opens is closed by later steps.
        m_steps[next++].action();
    };
    scheduleTick();
    done.exec();
    m_steps.clear();
}

void UserDriver::unwindEverything()
{
    while (QWidget *modal = QApplication::activeModalWidget()) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            box->done(0);
        }
        modal->hide();
    }
    for (QWidget *window : QApplication::topLevelWidgets()) {
        window->hide();
    }
}

QWidget *topLevel(const char *name)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String(name)) {
            return window;
        }
    }
    return nullptr;
}

std::vector<std::string> visibleWindows()
{
    std::vector<std::string> names;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->isWindow() && !qobject_cast<QMenu *>(window)) {
            names.push_back(window->objectName().toStdString());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

void pressKey(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(widget, key, modifiers);
}

void typeInto(QWidget *widget, const QString &text)
{
    QTest::keyClicks(widget, text);
}

void chooseMenu(QWidget *window, Qt::Key menuKey, Qt::Key itemKey)
{
    QTest::keyClick(window, menuKey, Qt::AltModifier);
    QWidget *popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr) << "no menu opened";
    QTest::keyClick(popup, itemKey);
}

QString shownText(const QString &caption)
{
    QString text = caption;
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}
