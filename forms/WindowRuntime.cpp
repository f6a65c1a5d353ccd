#include "WindowRuntime.h"

#include "PictureBox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace WindowRuntime {

namespace {

int g_modalDepth = 0;

// Faces the forms ask for that many machines lack; these stand-ins have the same metrics.
void substituteMissingFaces()
{
    static const bool done = [] {
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                                  QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    Q_UNUSED(done);
}

QFont fontFor(const FontChoice &choice)
{
    QFont font(QString::fromLatin1(choice.face));
    font.setPointSizeF(choice.points);
    font.setBold(choice.style == FontStyle::Bold || choice.style == FontStyle::BoldItalic);
    font.setItalic(choice.style == FontStyle::Italic || choice.style == FontStyle::BoldItalic);
    return font;
}

Qt::Alignment alignmentFor(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case Alignment::Centre:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Alignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::TextBox || kind == ControlKind::CommandButton;
}

QWidget *createLine(const ControlEntry &entry, QWidget *parent)
{
    auto *line = new QFrame(parent);
    const bool horizontal = entry.from.y == entry.to.y;
    line->setFrameShape(horizontal ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    const QPoint from(twipsToPixels(entry.from.x), twipsToPixels(entry.from.y));
    const QPoint to(twipsToPixels(entry.to.x), twipsToPixels(entry.to.y));
    // A sunken rule is two pixels thick, centred on the line.
    line->setGeometry(
        horizontal
            ? QRect(std::min(from.x(), to.x()), from.y() - 1, std::abs(to.x() - from.x()), 2)
            : QRect(from.x() - 1, std::min(from.y(), to.y()), 2, std::abs(to.y() - from.y())));
    return line;
}

QWidget *createControl(const ControlEntry &entry, QWidget *parent)
{
    const QString caption = QString::fromUtf8(entry.caption);
    switch (entry.kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(caption, parent);
        label->setAlignment(alignmentFor(entry.alignment));
        return label;
    }
    case ControlKind::TextBox: {
        auto *box = new QLineEdit(caption, parent);
        box->setAlignment(alignmentFor(entry.alignment) & Qt::AlignHorizontal_Mask);
        return box;
    }
    case ControlKind::CommandButton: {
        auto *button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
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

Form::Form(const FormDescription &form)
{
    substituteMissingFaces();
    setObjectName(QString::fromLatin1(form.name));
    setWindowTitle(QString::fromUtf8(form.caption));
    if (form.accessibleName) {
        setAccessibleName(QString::fromUtf8(form.accessibleName));
    }
    if (!form.titleBar) {
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint);
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
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(twipsToPixels(form.client.width), twipsToPixels(form.client.height));
    layout->addWidget(m_client, 0, Qt::AlignLeft | Qt::AlignTop);
    if (!form.menu.empty()) {
        buildMenu(form.menu);
    }
    buildControls(form.controls);
    if (form.border == Border::FixedDialog) {
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }
    layout->activate();
    resize(layout->sizeHint());
}

Form::~Form()
{
    // A form destroyed while shown modally must still release the caller waiting on it.
    if (m_modalLoop) {
        m_modalLoop->quit();
    }
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
        Q_ASSERT(parent);
        QAction *action
            = caption == QLatin1String("-") ? parent->addSeparator() : parent->addAction(caption);
        action->setObjectName(name);
    }
}

void Form::buildControls(std::span<const ControlEntry> controls)
{
    std::map<int, std::pair<QWidget *, ControlKind>> byTabIndex;
    for (const ControlEntry &entry : controls) {
        QWidget *parent = entry.container ? control(entry.container) : m_client;
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
        if (entry.isDefault) {
            m_defaultButton = static_cast<QPushButton *>(widget);
        }
        if (entry.isCancel) {
            m_cancelButton = static_cast<QPushButton *>(widget);
        }
        if (entry.tabIndex >= 0) {
            byTabIndex[entry.tabIndex] = {widget, entry.kind};
        }
    }

    // Focus follows the tab indexes; a label's accelerator leads to the next control that
    // takes focus.
    QWidget *previousFocusable = nullptr;
    QList<QLabel *> labelsAwaitingBuddy;
    for (const auto &[tabIndex, placed] : byTabIndex) {
        const auto [widget, kind] = placed;
        if (!takesFocus(kind)) {
            if (auto *label = qobject_cast<QLabel *>(widget)) {
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
            m_firstInTabOrder = widget;
        }
        previousFocusable = widget;
    }
}

void Form::connectClick(const char *name, QObject *context, std::function<void()> handler)
{
    const QString objectName = QString::fromLatin1(name);
    if (auto *button = findChild<QAbstractButton *>(objectName)) {
        connect(button, &QAbstractButton::clicked, context, handler);
    } else if (auto *action = findChild<QAction *>(objectName)) {
        connect(action, &QAction::triggered, context, handler);
    } else {
        Q_ASSERT_X(false, "Form::onClick", name);
    }
}

void Form::placeOnFirstShow()
{
    if (m_shownBefore) {
        return;
    }
    m_shownBefore = true;
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = rect();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    if (m_firstInTabOrder) {
        m_firstInTabOrder->setFocus(Qt::OtherFocusReason);
    }
}

void Form::setModal(bool modal)
{
    const Qt::WindowModality wanted = modal ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() == wanted) {
        return;
    }
    // Modality only takes effect on a hidden window.
    if (isVisible()) {
        QWidget::hide();
    }
    setWindowModality(wanted);
}

void Form::Show(ShowMode mode)
{
    if (mode == ShowModal && m_modalLoop) {
        // Already shown modally further up the call stack: just bring it forward.
        raise();
        activateWindow();
        return;
    }
    setModal(mode == ShowModal);
    placeOnFirstShow();
    rememberWindowBeneath();
    show();
    raise();
    activateWindow();
    if (mode == ShowModeless) {
        return;
    }

    QEventLoop loop;
    const QPointer<Form> self(this);
    m_modalLoop = &loop;
    ++g_modalDepth;
    loop.exec(QEventLoop::DialogExec);
    --g_modalDepth;
    if (self) {
        m_modalLoop = nullptr;
    }
}

void Form::rememberWindowBeneath()
{
    QWidget *active = QApplication::activeWindow();
    m_windowBeneath = (active && active != this && active->isVisible()) ? active : nullptr;
    // Window managers keep a transient window above the one it belongs to.
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

void Form::hideEvent(QHideEvent *event)
{
    // Minimising sends a spontaneous hide; only a real hide ends a modal show.
    if (!event->spontaneous() && m_modalLoop) {
        m_modalLoop->quit();
    }
    QWidget::hideEvent(event);
}

bool Form::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QWidget::event(event);
}

void Form::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        auto *button = qobject_cast<QPushButton *>(focusWidget());
        if (!button) {
            button = m_defaultButton;
        }
        if (button && button->isVisible() && button->isEnabled()) {
            button->click();
            return;
        }
    }
    if (plain && event->key() == Qt::Key_Escape && m_cancelButton && m_cancelButton->isVisible()
        && m_cancelButton->isEnabled()) {
        m_cancelButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form::closeEvent(QCloseEvent *event)
{
    // The form decides what a close request means; the window itself stays.
    event->ignore();
    closeRequested();
}

void Form::MsgBox(std::string_view prompt, std::string_view title)
{
    QMessageBox box(QMessageBox::Warning, text(title), text(prompt), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("MsgBox"));
    ++g_modalDepth;
    box.exec();
    --g_modalDepth;
    if (isVisible()) {
        activateWindow();
    }
}

void SetFocus(QWidget *control)
{
    control->setFocus(Qt::OtherFocusReason);
}

void End()
{
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

int modalDepth()
{
    return g_modalDepth;
}

sipster::NumberStyle userNumberStyle()
{
    QLocale locale = QLocale::system();
    for (const char *variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty()) {
            locale = (value == "C" || value == "POSIX") ? QLocale::c()
                                                        : QLocale(QString::fromLocal8Bit(value));
            break;
        }
    }
    sipster::NumberStyle style;
    style.decimalPoint = locale.decimalPoint().toStdString();
    style.minusSign = locale.negativeSign().toStdString();
    if (!(locale.numberOptions() & QLocale::OmitGroupSeparator)) {
        style.groupSeparator = locale.groupSeparator().toStdString();
    }
    return style;
}

} // namespace WindowRuntime
