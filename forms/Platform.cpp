// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Platform.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLocale>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace WindowRuntime {

void useFontStandIns()
{
    // Faces the forms ask for that many machines lack. Qt uses a substitute only where the face
    // itself is missing: then a stand-in with the same metrics takes its place, Windows' own
    // TrueType twin or Liberation Sans.
    QFont::insertSubstitutions(
        QStringLiteral("MS Sans Serif"),
        {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

// The face a form's text is drawn in. Windows has "MS Sans Serif" only as a bitmap face made for
// 96 dpi, scaled up pixel by pixel at any other display scale, and Qt draws from it wherever it
// is installed: there the forms use the first of its scalable stand-ins the system has instead,
// Windows' own TrueType twin or, where that is missing (Wine), Liberation Sans.
QString faceFor(const char *face)
{
    const QString asked = QString::fromLatin1(face);
#ifdef Q_OS_WIN
    if (asked == QLatin1String("MS Sans Serif")) {
        // Looked up once: the faces installed stay the same for the run.
        static const QString scalable = [] {
            const QString bitmap = QStringLiteral("MS Sans Serif");
            const QStringList standIns = QFont::substitutes(bitmap);
            const auto found = std::ranges::find_if(standIns, QFontDatabase::hasFamily);
            return found != standIns.end() ? *found : bitmap;
        }();
        return scalable;
    }
#endif
    return asked;
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
