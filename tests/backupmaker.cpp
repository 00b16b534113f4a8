// Makes one backup as the editor does before its first write, for the tests of backups made by
// other processes: two at the same moment, and one under a clock set back. Arguments: the backups
// folder, the image's full name, the Buzz Motor price the image holds, and the moment to start at
// in milliseconds since 1970 (0: at once). Prints the backup's path; or the reason on standard
// error, with status 1.
#include "core/backups.h"
#include "testimages.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 5)
        return 2;
    QThread::msleep(
        qMax<qint64>(0, QByteArray(argv[4]).toLongLong() - QDateTime::currentMSecsSinceEpoch()));
    const QByteArray image = kst::test::With(kst::test::ValidRom(),
                                             QStringLiteral("w0x179C6=") + QLatin1String(argv[3]));
    QString reason;
    const QString made = kst::Backups(QString::fromLocal8Bit(argv[1]))
                             .Make(kst::FileName::FromArgument(argv[2]), image,
                                   QDateTime::currentDateTimeUtc(), &reason);
    std::fputs(qPrintable((made.isEmpty() ? reason : made) + QLatin1Char('\n')),
               made.isEmpty() ? stderr : stdout);
    return made.isEmpty() ? 1 : 0;
}
