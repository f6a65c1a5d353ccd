// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "MessageBox.h"

#include "Platform.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>

namespace WindowRuntime {

namespace {

// QMessageBox sizes itself to its text, and leaves the title only a little room: a window
// manager's title bar, with its icon and three buttons, would cut a title longer than the text.
void makeRoomForTitle(QMessageBox &box)
{
    // A window menu icon and three buttons, with the gaps between them.
    constexpr int kTitleBarButtons = 4 * 32;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid) {
        return;
    }
    const QMargins margins = grid->contentsMargins();
    const int wanted = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle())
        + kTitleBarButtons - margins.left() - margins.right();
    grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// Where the compositor leaves the title bar to the program (weston, mutter), Qt 6.4 draws one
// with a maximise button on every window, fixed size or not; a window of fixed size cannot take
// the size the compositor then gives it, and the compositor ends the program's connection. On
// Wayland a message box therefore keeps only its smallest size: maximised, it grows, and the
// same button brings it back.
class MessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    // QMessageBox fixes its size to its contents each time it is shown or laid out.
    bool event(QEvent *event) override
    {
        // Maximised, it keeps the size the compositor gave it: fitted to its contents, it would
        // shrink while the compositor holds it maximised.
        if (event->type() == QEvent::LayoutRequest && isMaximized() && onWayland()) {
            return QDialog::event(event);
        }
        const bool handled = QMessageBox::event(event);
        const bool sized = event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest;
        if (sized && onWayland()) {
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        return handled;
    }
};

} // namespace

void showMessageBox(QWidget *parent, const QString &prompt, const QString &title)
{
    MessageBox box(QMessageBox::Warning, title, prompt, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MsgBox"));
    makeRoomForTitle(box);
    box.exec();
}

} // namespace WindowRuntime
