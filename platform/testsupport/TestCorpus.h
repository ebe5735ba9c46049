#pragma once
// The shared corpus of real books by others, for tests: KVX_CORPUS_DIR, else the corpus
// folder beside the checkout. Where it is missing, tests skip; under KVX_REQUIRE_CORPUS=1
// (as CI runs) a missing corpus or book fails instead, so a skip cannot hide a failure.
#include <QDir>
#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>

inline QString TestCorpusFolder()
{
    const QString configured = qEnvironmentVariable("KVX_CORPUS_DIR");
    return configured.isEmpty() ? QDir::cleanPath(QStringLiteral(KVX_SOURCE_DIR "/../shared/corpus/epub2"))
                                : configured;
}

inline bool TestCorpusRequired() { return qEnvironmentVariable("KVX_REQUIRE_CORPUS") == QLatin1String("1"); }

// Skips the test (or fails it, when the corpus is required) unless `path` exists.
#define KVX_NEED_CORPUS_FILE(path)                                                                   \
    do {                                                                                             \
        const QString kvxCorpusPath_ = (path);                                                       \
        if (!QFileInfo::exists(kvxCorpusPath_)) {                                                    \
            if (TestCorpusRequired())                                                                \
                FAIL() << "corpus file missing: " << kvxCorpusPath_.toStdString();                   \
            GTEST_SKIP() << "no corpus file at " << kvxCorpusPath_.toStdString();                    \
        }                                                                                            \
    } while (false)
