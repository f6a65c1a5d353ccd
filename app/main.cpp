#include "Zestra.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sipster"));
    QApplication::setApplicationVersion(QStringLiteral(SIPSTER_VERSION));
    QApplication::setOrganizationDomain(QStringLiteral("sipster.org"));
    QGuiApplication::setDesktopFileName(QStringLiteral(SIPSTER_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/sipster.svg")));
    // Windows are hidden and shown again as the user moves between them; only Exit ends the run.
    QApplication::setQuitOnLastWindowClosed(false);

    Zestra zestra;
    zestra.Main();
    return QApplication::exec();
}
