// Writes the test fixtures as the fuzz target's starting corpus: emf_corpus DIR.
#include "components/transcoder/tests/EmfFixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QDir dir(QString::fromLocal8Bit(argv[1]));
    dir.mkpath(QStringLiteral("."));
    int n = 0;
    auto save = [&](const QByteArray& emf) {
        QFile file(dir.filePath(QStringLiteral("fixture-%1.emf").arg(++n, 3, 10, QChar('0'))));
        return file.open(QIODevice::WriteOnly) && file.write(emf) == emf.size();
    };
    for (const emffixtures::Page& page : emffixtures::shapePages())
        save(page.emf);
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (bool topDown : {false, true})
            save(emffixtures::bitmapPage(bits, topDown).emf);
    save(emffixtures::documentPage(1, 3));
    return 0;
}
