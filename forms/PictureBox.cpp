#include "PictureBox.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QSvgRenderer>

namespace WindowRuntime {

namespace {

QAccessibleInterface *pictureAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("WindowRuntime::PictureBox") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    }
    return nullptr;
}

} // namespace

PictureBox::PictureBox(const QString &picture, const QString &description, QWidget *parent)
    : QWidget(parent)
    , m_picture(picture)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(pictureAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setAccessibleName(description);
}

QSvgRenderer *PictureBox::renderer() const
{
    if (!m_renderer) {
        m_renderer = new QSvgRenderer(m_picture, const_cast<PictureBox *>(this));
        m_renderer->setAspectRatioMode(Qt::IgnoreAspectRatio);
    }
    return m_renderer;
}

bool PictureBox::hasPicture() const
{
    return renderer()->isValid();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer()->render(&painter, rect());
}

} // namespace WindowRuntime
