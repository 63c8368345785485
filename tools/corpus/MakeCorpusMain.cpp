// harmonet-make-corpus DIR: writes the seed corpus of the MIDI file reader's
// fuzzer into DIR, one file per case, named after what it exercises.
#include "tools/corpus/CorpusCases.h"

#include <QDir>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: harmonet-make-corpus DIR\n", stderr);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "harmonet-make-corpus: cannot create %s\n", argv[1]);
        return 1;
    }
    int written = 0;
    for (const auto& seed : harmonet::tools::corpusCases()) {
        QSaveFile file(dir.filePath(seed.name + QStringLiteral(".mid")));
        if (!file.open(QIODevice::WriteOnly) || file.write(seed.bytes) != seed.bytes.size() || !file.commit()) {
            std::fprintf(stderr, "harmonet-make-corpus: cannot write %s: %s\n",
                         file.fileName().toLocal8Bit().constData(), file.errorString().toLocal8Bit().constData());
            return 1;
        }
        ++written;
    }
    std::printf("%d files written to %s\n", written, argv[1]);
    return 0;
}
