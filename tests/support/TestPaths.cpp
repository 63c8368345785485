#include "tests/support/TestPaths.h"

#include <QDir>
#include <QFileInfo>

namespace harmonet::test {

QString thirdPartyDataDir()
{
    const QString root = qEnvironmentVariable("HARMONET_TESTDATA", QStringLiteral(HARMONET_TESTDATA_DEFAULT));
    const QString dir = root + QStringLiteral("/third-party");
    return (!root.isEmpty() && QFileInfo(dir).isDir()) ? QDir(dir).absolutePath() : QString();
}

QString sourceDir()
{
    return qEnvironmentVariable("HARMONET_SOURCE_DIR", QStringLiteral(HARMONET_SOURCE_DIR_DEFAULT));
}

} // namespace harmonet::test
