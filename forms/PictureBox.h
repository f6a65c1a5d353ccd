// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QWidget>

class QSvgRenderer;

namespace WindowRuntime {

// An image control: a vector drawing stretched to the box, drawn afresh at the screen's own
// resolution so it stays sharp at any scale factor.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    PictureBox(const QString &picture, const QString &description, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The drawing is read when first needed, so creating a window does not wait for it.
    QSvgRenderer *renderer() const;

    QString m_picture;
    mutable QSvgRenderer *m_renderer = nullptr;
};

} // namespace WindowRuntime
