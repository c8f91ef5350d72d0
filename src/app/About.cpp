#include "app/About.h"

#include <QDir>
#include <QtGlobal>

namespace corvanta {

About::About(const QString &dataFolder) : dataFolder_(dataFolder) {}

QString About::caption() { return QStringLiteral(" About Corvanta"); }
QString About::lblCorvanta() { return QStringLiteral("Corvanta"); }
QString About::cmdExitCaption() { return QStringLiteral("&OK"); }

void About::Form_Load()
{
    const QString year = QStringLiteral(CORVANTA_RELEASE_DATE).left(4);
    lblCopyRite = QStringLiteral("Version %1   Copyright \u00a9 %2 the Corvanta developers")
                      .arg(QStringLiteral(CORVANTA_VERSION), year);
    // The library actually loaded, which may be newer than the one the program was built with.
    lblQtVersion = QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion()));
    lblDataFolder = QStringLiteral("Data folder: %1").arg(QDir::toNativeSeparators(dataFolder_));
}

} // namespace corvanta
