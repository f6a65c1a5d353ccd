// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "WindowRuntime.h"

#include "PictureBox.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <qdrawutil.h>
#include <utility>

namespace WindowRuntime {

namespace {

// Forms unloaded and not yet destroyed: a modal Show asked for meanwhile, in the handler that
// unloaded one, waits for them to go.
QList<QPointer<QObject>> g_unloading;

bool formsStillUnloading()
{
    g_unloading.removeAll(nullptr);
    return !g_unloading.isEmpty();
}

// A form description that names a control it does not have is a fault in the program.
[[noreturn]] void missing(const char *what, const char *name, const QObject *form)
{
    qFatal("%s has no %s named %s", qPrintable(form->objectName()), what, name);
}

// Screen readers hear pictures as graphics and the main window (the form with a menu) as an
// application window; every other form keeps QDialog's dialog role.
QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget) {
        return nullptr;
    }
    if (className == QLatin1String("WindowRuntime::PictureBox")) {
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    }
    if (className == QLatin1String("WindowRuntime::Form")
        && widget->findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly)) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

void setUpOnce()
{
    static const bool done = [] {
        // Faces the forms ask for that many machines lack. Qt uses a substitute only where the
        // face itself is missing: then a stand-in with the same metrics takes its place, Windows'
        // own TrueType twin or Liberation Sans.
        QFont::insertSubstitutions(
            QStringLiteral("MS Sans Serif"),
            {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans")});
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(done);
}

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
    // QMessageBox fixes its size each time it is shown or laid out.
    bool event(QEvent *event) override
    {
        const bool handled = QMessageBox::event(event);
        const bool sized = event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest;
        if (sized && onWayland()) {
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        return handled;
    }
};

// The face a form's text is drawn in. Windows has "MS Sans Serif" only as a bitmap face made for
// 96 dpi, scaled up pixel by pixel at any other display scale, and Qt draws from it wherever it
// is installed: there the forms use the first of its scalable stand-ins the system has instead,
// Windows' own TrueType twin or, where that is missing (Wine), Liberation Sans.
QString faceFor(const char *face)
{
    const QString asked = QString::fromLatin1(face);
#ifdef Q_OS_WIN
    if (asked == QLatin1String("MS Sans Serif")) {
        static const QString scalable = [&asked] {
            const QStringList standIns = QFont::substitutes(asked);
            const auto found = std::ranges::find_if(standIns, QFontDatabase::hasFamily);
            return found != standIns.end() ? *found : asked;
        }();
        return scalable;
    }
#endif
    return asked;
}

QFont fontFor(const FontChoice &choice)
{
    QFont font(faceFor(choice.face));
    font.setPointSizeF(choice.points);
    font.setBold(choice.style == FontStyle::Bold || choice.style == FontStyle::BoldItalic);
    font.setItalic(choice.style == FontStyle::Italic || choice.style == FontStyle::BoldItalic);
    return font;
}

Qt::Alignment horizontalAlignment(Alignment alignment)
{
    return alignment == Alignment::Right ? Qt::AlignRight
        : alignment == Alignment::Centre ? Qt::AlignHCenter
                                         : Qt::AlignLeft;
}

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::TextBox || kind == ControlKind::CommandButton;
}

bool hasAccessKey(const QString &caption)
{
    return !QKeySequence::mnemonic(caption).isEmpty();
}

// Qt 6.4 reports the caret move and selection that a text box makes on taking the focus before
// it reports the focus change, and reports caret moves in boxes without the focus too. A screen
// reader takes such a caret event, handled after the box has the focus, for the move into it and
// then ignores the focus event: moving into a box says nothing. Caret and selection reports are
// held back while a box takes the focus or has its text replaced without it; a screen reader
// reads the caret and selection along with the focus.
QAccessible::UpdateHandler g_passOn = nullptr;

void holdBackCaretMoves(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::TextCaretMoved
        || event->type() == QAccessible::TextSelectionChanged) {
        return;
    }
    if (g_passOn) {
        g_passOn(event);
        return;
    }
    // No handler was installed before this one: Qt's own delivery to the screen reader.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(holdBackCaretMoves);
}

// Holds caret reports back for as long as it lives; a hold-back already in place stays as it is.
class CaretReportsHeldBack
{
public:
    CaretReportsHeldBack()
        : m_before(QAccessible::installUpdateHandler(holdBackCaretMoves))
    {
        if (!nested()) {
            g_passOn = m_before;
        }
    }
    ~CaretReportsHeldBack()
    {
        if (nested()) {
            return;
        }
        // A handler installed meanwhile by someone else stays.
        const QAccessible::UpdateHandler current = QAccessible::installUpdateHandler(m_before);
        if (current != holdBackCaretMoves) {
            QAccessible::installUpdateHandler(current);
        }
        g_passOn = nullptr;
    }
    CaretReportsHeldBack(const CaretReportsHeldBack &) = delete;
    CaretReportsHeldBack &operator=(const CaretReportsHeldBack &) = delete;

private:
    bool nested() const { return m_before == holdBackCaretMoves; }

    QAccessible::UpdateHandler m_before;
};

template<class F> void withoutCaretReports(F &&change)
{
    const CaretReportsHeldBack heldBack;
    change();
}

class TextBoxEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        withoutCaretReports([&] { QLineEdit::focusInEvent(event); });
    }
};

// A label never cuts its caption: where the face in use is wider than the one the form was laid
// out with, or a caption set later is wider than its box, the label grows away from the side it
// is aligned to, shifted back into its container where it would leave it.
void fitCaption(QLabel *label)
{
    const int extra = label->sizeHint().width() - label->width();
    if (extra <= 0) {
        return;
    }
    QRect box = label->geometry();
    const Qt::Alignment alignment = label->alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignRight) {
        box.setLeft(box.left() - extra);
    } else if (alignment & Qt::AlignHCenter) {
        box.adjust(-extra / 2, 0, extra - extra / 2, 0);
    } else {
        box.setRight(box.right() + extra);
    }
    const QRect container = label->parentWidget()->rect();
    box.moveLeft(
        std::max(container.left(), std::min(box.left(), container.right() - box.width() + 1)));
    label->setGeometry(box.intersected(container));
}

// Where a form was when hidden, moved onto a screen if it is on none now: a screen may have been
// unplugged, or its scale changed, in the meantime.
QRect onAScreen(QRect place)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary || QGuiApplication::screenAt(place.center())) {
        return place;
    }
    const QRect screen = primary->availableGeometry();
    place.moveLeft(
        std::max(screen.left(), std::min(place.left(), screen.right() - place.width() + 1)));
    place.moveTop(
        std::max(screen.top(), std::min(place.top(), screen.bottom() - place.height() + 1)));
    return place;
}

QWidget *createLine(const ControlEntry &entry, QWidget *parent)
{
    auto *line = new QFrame(parent);
    const bool horizontal = entry.rect.height == 0;
    line->setFrameShape(horizontal ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    // A sunken rule is two pixels thick, centred on the line.
    const QRect ends = twipsToPixels(entry.rect).normalized();
    line->setGeometry(horizontal ? ends.adjusted(0, -1, 0, 1) : ends.adjusted(-1, 0, 1, 0));
    return line;
}

QWidget *createControl(const ControlEntry &entry, QWidget *parent)
{
    const QString caption = QString::fromUtf8(entry.caption);
    switch (entry.kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(caption, parent);
        label->setAlignment(horizontalAlignment(entry.alignment) | Qt::AlignTop);
        return label;
    }
    case ControlKind::TextBox: {
        auto *box = new TextBoxEdit(caption, parent);
        box->setAlignment(horizontalAlignment(entry.alignment));
        return box;
    }
    case ControlKind::CommandButton: {
        auto *button = new QPushButton(caption, parent);
        button->setDefault(entry.isDefault);
        return button;
    }
    case ControlKind::Image:
        return new PictureBox(QString::fromUtf8(entry.picture), text(entry.description), parent);
    case ControlKind::Frame: {
        auto *frame = new QGroupBox(parent);
        frame->setFocusPolicy(Qt::NoFocus);
        return frame;
    }
    case ControlKind::Line:
        return createLine(entry, parent);
    }
    return nullptr;
}

} // namespace

int twipsToPixels(int twips)
{
    // Rounds to the nearest pixel, halves up, for negative positions too.
    return static_cast<int>(std::floor(twips / static_cast<double>(kTwipsPerPixel) + 0.5));
}

QRect twipsToPixels(const TwipRect &rect)
{
    // Edges are rounded, not widths, so neighbouring controls stay flush.
    const int left = twipsToPixels(rect.left);
    const int top = twipsToPixels(rect.top);
    const int right = twipsToPixels(rect.left + rect.width);
    const int bottom = twipsToPixels(rect.top + rect.height);
    return {left, top, right - left, bottom - top};
}

std::string TextBoxControl::Text() const
{
    return box->text().toStdString();
}

void TextBoxControl::SetText(std::string_view text) const
{
    if (box->hasFocus()) {
        box->setText(WindowRuntime::text(text));
    } else {
        withoutCaretReports([&] { box->setText(WindowRuntime::text(text)); });
    }
}

void TextBoxControl::SetFocus() const
{
    box->setFocus(Qt::OtherFocusReason);
}

void LabelControl::SetCaption(std::string_view caption) const
{
    label->setText(text(caption));
    fitCaption(label);
}

Form::Form(const FormDescription &form)
{
    setUpOnce();
    setObjectName(QString::fromLatin1(form.name));
    setWindowTitle(QString::fromUtf8(form.caption));
    // Every form is a window of its own to the window manager, with the title bar it describes.
    setWindowFlags(form.titleBar ? Qt::Window : Qt::Window | Qt::FramelessWindowHint);
    if (form.accessibleName) {
        setAccessibleName(QString::fromUtf8(form.accessibleName));
    }
    if (form.background) {
        // A fixed background takes a fixed text colour with it, so dark themes stay readable.
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, *form.background);
        palette.setColor(QPalette::WindowText, Qt::black);
        setPalette(palette);
        setAutoFillBackground(true);
    }

    auto *layout = new QVBoxLayout(this);
    // Without a title bar nothing else marks where the window ends: it draws a raised edge.
    m_edge = !form.titleBar;
    const int edge = m_edge ? 2 : 0;
    layout->setContentsMargins(edge, edge, edge, edge);
    layout->setSpacing(0);
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsToPixels(form.client.width), twipsToPixels(form.client.height));
    layout->addWidget(client, 0, Qt::AlignLeft | Qt::AlignTop);
    if (!form.menu.empty()) {
        buildMenu(form.menu);
    }
    buildControls(client, form.controls);
    collectDescription(form.controls);
    if (form.border == Border::FixedDialog) {
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }
    layout->activate();
    resize(layout->sizeHint());
}

void Form::buildMenu(std::span<const MenuEntry> menu)
{
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    layout()->setMenuBar(bar);
    QHash<QString, QMenu *> submenus;
    for (const MenuEntry &item : menu) {
        const QString name = QString::fromLatin1(item.name);
        const QString caption = QString::fromUtf8(item.caption);
        if (!item.parent) {
            QMenu *submenu = bar->addMenu(caption);
            submenu->setObjectName(name);
            submenu->menuAction()->setObjectName(name);
            submenus.insert(name, submenu);
            continue;
        }
        QMenu *parent = submenus.value(QString::fromLatin1(item.parent));
        if (!parent) {
            missing("menu", item.parent, this);
        }
        QAction *action
            = caption == QLatin1String("-") ? parent->addSeparator() : parent->addAction(caption);
        action->setObjectName(name);
    }
}

void Form::buildControls(QWidget *client, std::span<const ControlEntry> controls)
{
    std::map<int, std::pair<QWidget *, ControlKind>> byTabIndex;
    for (const ControlEntry &entry : controls) {
        QWidget *parent = entry.container ? find<QGroupBox>(entry.container) : client;
        QWidget *widget = createControl(entry, parent);
        widget->setObjectName(QString::fromLatin1(entry.name));
        if (entry.kind != ControlKind::Line) {
            widget->setGeometry(twipsToPixels(entry.rect));
        }
        if (entry.kind != ControlKind::Line && entry.kind != ControlKind::Image
            && entry.kind != ControlKind::Frame) {
            widget->setFont(fontFor(entry.font));
        }
        if (entry.autoSize) {
            widget->adjustSize();
        }
        if ((entry.isDefault || entry.isCancel) && entry.kind != ControlKind::CommandButton) {
            qFatal("%s: only a command button can be a default or cancel button", entry.name);
        }
        if (entry.isCancel) {
            m_cancelButton = qobject_cast<QPushButton *>(widget);
        }
        if (entry.tabIndex >= 0) {
            byTabIndex[entry.tabIndex] = {widget, entry.kind};
        }
    }

    // Focus follows the tab indexes, starting at the first control that takes it; a label with
    // an access key leads to the next control that takes focus, and is its label.
    QWidget *previousFocusable = nullptr;
    QList<QLabel *> labelsAwaitingBuddy;
    for (const auto &[tabIndex, placed] : byTabIndex) {
        const auto [widget, kind] = placed;
        if (!takesFocus(kind)) {
            auto *label = qobject_cast<QLabel *>(widget);
            if (label && hasAccessKey(label->text())) {
                labelsAwaitingBuddy.append(label);
            }
            continue;
        }
        for (QLabel *label : std::as_const(labelsAwaitingBuddy)) {
            label->setBuddy(widget);
        }
        labelsAwaitingBuddy.clear();
        if (previousFocusable) {
            setTabOrder(previousFocusable, widget);
        } else {
            widget->setFocus(Qt::OtherFocusReason);
        }
        previousFocusable = widget;
    }
    // Measured as shown: a label with an access key shows its "&" only while it has no buddy.
    for (const ControlEntry &entry : controls) {
        if (entry.kind == ControlKind::Label && !entry.autoSize) {
            fitCaption(find<QLabel>(entry.name));
        }
    }
}

void Form::collectDescription(std::span<const ControlEntry> controls)
{
    QList<QLabel *> values;
    for (const ControlEntry &entry : controls) {
        if (entry.captioned) {
            values.append(find<QLabel>(entry.captioned));
        }
    }
    for (const ControlEntry &entry : controls) {
        auto *label = entry.kind == ControlKind::Label ? find<QLabel>(entry.name) : nullptr;
        if (!label || label->buddy() || values.contains(label)) {
            continue;
        }
        QLabel *value = entry.captioned ? find<QLabel>(entry.captioned) : nullptr;
        // Screen readers read a label that labels nothing on its own as well as in the window's
        // description (Qt 6.4 has no "description for" relation): a caption labels its value,
        // and any other text the window it describes.
        label->setBuddy(value ? static_cast<QWidget *>(value) : this);
        m_description.emplace_back(label, value);
    }
    const auto readingOrder = [this](const auto &a, const auto &b) {
        const QPoint pa = a.first->mapTo(this, QPoint());
        const QPoint pb = b.first->mapTo(this, QPoint());
        return std::pair(pa.y(), pa.x()) < std::pair(pb.y(), pb.x());
    };
    std::ranges::stable_sort(m_description, readingOrder);
    updateDescription();
}

void Form::updateDescription()
{
    const QString name = accessibleName().isEmpty() ? windowTitle() : accessibleName();
    QStringList texts;
    for (const auto &[label, value] : m_description) {
        QString text = label->text();
        if (value && !value->text().isEmpty()) {
            text += u' ' + value->text();
        }
        // What the window's name already says is not said again.
        if (!text.isEmpty() && !name.contains(text)) {
            texts.append(text);
        }
    }
    setAccessibleDescription(texts.join(QLatin1String(", ")));
}

template<class Control> Control *Form::find(const char *name) const
{
    auto *found = findChild<Control *>(QString::fromLatin1(name));
    if (!found) {
        missing(Control::staticMetaObject.className(), name, this);
    }
    return found;
}

TextBoxControl Form::textBox(const char *name) const
{
    return {find<QLineEdit>(name)};
}

LabelControl Form::label(const char *name) const
{
    return {find<QLabel>(name)};
}

void Form::connectClick(const char *name, QObject *context, std::function<void()> handler)
{
    const QString objectName = QString::fromLatin1(name);
    if (auto *button = findChild<QAbstractButton *>(objectName)) {
        connect(button, &QAbstractButton::clicked, context, handler);
    } else if (auto *action = findChild<QAction *>(objectName)) {
        connect(action, &QAction::triggered, context, handler);
    } else {
        missing("button or menu item", name, this);
    }
}

void Form::Show(ShowMode mode)
{
    if (mode == ShowModal && isVisible() && isModal()) {
        raise();
        activateWindow();
        return;
    }
    if (mode == ShowModal && formsStillUnloading()) {
        // The handler that unloaded a form must return before that form can be destroyed.
        QMetaObject::invokeMethod(
            this, [this] { Show(ShowModal); }, Qt::QueuedConnection);
        return;
    }
    rememberWindowBeneath();
    if (m_placement && !isVisible()) {
        setGeometry(onAScreen(*m_placement));
    }
    if (mode == ShowModeless) {
        // Modality only changes while the window is hidden.
        if (!isVisible()) {
            setWindowModality(Qt::NonModal);
        }
        show();
        raise();
        activateWindow();
        return;
    }
    if (isVisible()) {
        hide();
    }
    exec();
}

void Form::rememberWindowBeneath()
{
    QWidget *active = QApplication::activeWindow();
    m_windowBeneath = (active && active != this && active->isVisible()) ? active : nullptr;
    // Window managers keep a transient window above the one it belongs to, and Qt places it
    // over that window.
    create();
    windowHandle()->setTransientParent(m_windowBeneath ? m_windowBeneath->windowHandle() : nullptr);
}

void Form::Hide()
{
    const bool wasActive = isActiveWindow();
    hide();
    // Hand the focus back to the window this one was shown over rather than leave it to the
    // window manager, which may not pick any.
    if (wasActive && m_windowBeneath && m_windowBeneath->isVisible()) {
        m_windowBeneath->activateWindow();
    }
}

void Form::Unload()
{
    Hide();
    g_unloading.append(this);
    deleteLater();
}

bool Form::event(QEvent *event)
{
    const bool shown = event->type() == QEvent::Show && !event->spontaneous();
    if (shown || event->type() == QEvent::WindowActivate) {
        Form_Activate();
        updateDescription();
    }
    // Some window managers (metacity, mutter) move a window they stop managing to where its
    // frame was, up by the title bar: the form keeps where it was when it was hidden instead.
    if (event->type() == QEvent::Hide && !event->spontaneous()) {
        m_placement = geometry();
    }
    const bool handled = QDialog::event(event);
    // Qt places a dialog on the screen when it is first shown; after that it stays where it was.
    if (shown) {
        setAttribute(Qt::WA_Moved);
    }
    return handled;
}

void Form::paintEvent(QPaintEvent *event)
{
    if (m_edge) {
        QPainter painter(this);
        qDrawWinPanel(&painter, rect(), palette());
    }
    QDialog::paintEvent(event);
    if (!m_frameDrawn) {
        m_frameDrawn = true;
        // Queued: the frame is handed over once this paint and its flush are done.
        QMetaObject::invokeMethod(this, &Form::firstFrameDrawn, Qt::QueuedConnection);
    }
}

void Form::closeEvent(QCloseEvent *event)
{
    // The form decides what a close request means; the window itself stays.
    event->ignore();
    closeRequested();
}

void Form::reject()
{
    // Esc: QDialog would hide the form; here it presses the cancel button, if there is one.
    if (m_cancelButton && m_cancelButton->isVisible() && m_cancelButton->isEnabled()) {
        m_cancelButton->click();
    }
}

void Form::MsgBox(std::string_view prompt, std::string_view title)
{
    MessageBox box(QMessageBox::Warning, text(title), text(prompt), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("MsgBox"));
    makeRoomForTitle(box);
    box.exec();
    if (isVisible()) {
        activateWindow();
    }
}

bool onWayland()
{
    // Qt's Wayland platform plugins are named "wayland", "wayland-egl" and so on.
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void End()
{
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

sipster::NumberStyle numberStyle()
{
    const QLocale locale;
    sipster::NumberStyle style;
    style.decimalPoint = locale.decimalPoint().toStdString();
    style.minusSign = locale.negativeSign().toStdString();
    if (!(locale.numberOptions() & QLocale::OmitGroupSeparator)) {
        style.groupSeparator = locale.groupSeparator().toStdString();
    }
    return style;
}

} // namespace WindowRuntime
