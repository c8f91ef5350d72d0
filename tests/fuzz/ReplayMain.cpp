// Runs a fuzz target's LLVMFuzzerTestOneInput once on every file of the folders (or files) given,
// so that the normal build and CI replay each corpus without libFuzzer.

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList inputs;
    for (const QString &argument : QCoreApplication::arguments().mid(1)) {
        if (QFileInfo(argument).isDir()) {
            QDirIterator it(argument, QDir::Files | QDir::Hidden);
            while (it.hasNext())
                inputs << it.next();
        } else {
            inputs << argument;
        }
    }
    inputs.sort();
    if (inputs.isEmpty()) {
        std::fprintf(stderr, "no inputs\n");
        return 1;
    }
    for (const QString &input : inputs) {
        QFile file(input);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(input));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(inputs.size()));
    return 0;
}
