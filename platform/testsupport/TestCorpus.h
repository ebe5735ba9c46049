#pragma once
// The shared corpus of real books by others, for tests: KVX_CORPUS_DIR, else the corpus
// folder beside the checkout. Tests that need it skip where it is missing.
#include <QDir>
#include <QString>

inline QString TestCorpusFolder()
{
    const QString configured = qEnvironmentVariable("KVX_CORPUS_DIR");
    return configured.isEmpty() ? QDir::cleanPath(QStringLiteral(KVX_SOURCE_DIR "/../shared/corpus/epub2"))
                                : configured;
}
