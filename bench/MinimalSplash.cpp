// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

// The least a splash can be: one window holding one label and one push button. The start-up
// benchmark measures the program against this floor.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Taste Test"), &window));
    layout->addWidget(new QPushButton(QStringLiteral("&Close"), &window));
    window.show();
    return QApplication::exec();
}
