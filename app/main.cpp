#include "Zestra.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sipster"));
    QApplication::setApplicationVersion(QStringLiteral(SIPSTER_VERSION));
    QApplication::setOrganizationDomain(QStringLiteral("sipster.org"));
    QGuiApplication::setDesktopFileName(QStringLiteral(SIPSTER_APP_ID));
    // Windows are hidden and shown again as the user moves between them; only Exit ends the run.
    QApplication::setQuitOnLastWindowClosed(false);

    Zestra zestra;
    zestra.Main();
    // The icon's SVG plugin takes a while to load and the title card shows no icon: load it once
    // the card is up.
    QTimer::singleShot(
        0, &app, [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/sipster.svg"))); });
    return QApplication::exec();
}
