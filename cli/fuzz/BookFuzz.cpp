// libFuzzer target over the whole book reader: any bytes are written as a book file and
// opened as lindar-cli opens it (archive, container, OPF, metadata and NCX into the
// in-memory trees and grid). A book that opens with its package is saved through every
// package file and packed again, and what was saved must open again: the kit may refuse
// a book, but it must never crash on one, nor write one that it cannot read back.
//
// An input that starts like a ZIP archive is the book file itself. Any other input is a
// list of members ("=== name" lines, each followed by the member's bytes), packed here with
// "mimetype" first: mutated package files then reach the XML readers instead of failing
// the archive's checksums.
// Build and run: see the README's lindar-cli section.
#include "cli/BookSession.h"
#include "platform/core/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

class SilentMessageBoxes : public platform::MessageBoxBackend {
public:
    platform::MessageResult show(const platform::MessageRequest& request) override
    {
        return platform::defaultAnswer(request.buttons);
    }
};

QTemporaryDir* g_scratch = nullptr;

void addMember(zip_t* archive, const QByteArray& name, const QByteArray& content)
{
    void* copy = std::malloc(std::size_t(qMax<qsizetype>(content.size(), 1)));
    std::memcpy(copy, content.constData(), std::size_t(content.size()));
    zip_source_t* source = zip_source_buffer(archive, copy, zip_uint64_t(content.size()), 1);
    const zip_int64_t index = source ? zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
        zip_source_free(source);
        return;
    }
    zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
}

// Packs "=== name" sections into a book whose first member is the stored mimetype.
void packMembers(const QByteArray& input, const QString& book)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(book).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        std::abort();
    addMember(archive, "mimetype", "application/epub+zip");
    const QByteArray marker("=== ");
    qsizetype at = input.startsWith(marker) ? 0 : input.indexOf("\n" + marker);
    while (at >= 0) {
        if (input[at] == '\n')
            ++at;
        const qsizetype nameEnd = input.indexOf('\n', at);
        if (nameEnd < 0)
            break;
        const QByteArray name = input.mid(at + marker.size(), nameEnd - at - marker.size());
        const qsizetype next = input.indexOf("\n" + marker, nameEnd);
        const QByteArray content = input.mid(nameEnd + 1, next < 0 ? -1 : next - nameEnd - 1);
        if (!name.isEmpty() && name != "mimetype")
            addMember(archive, name, content);
        at = next;
    }
    if (zip_close(archive) != 0)
        zip_discard(archive);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Work folders and books live in a scratch folder of this run, never in the user's data.
    g_scratch = new QTemporaryDir();
    qputenv("XDG_DATA_HOME", g_scratch->filePath(QStringLiteral("data")).toLocal8Bit());
    QDir().mkpath(g_scratch->filePath(QStringLiteral("books")));
    static SilentMessageBoxes boxes;
    platform::setMessageBoxBackend(&boxes);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString book = g_scratch->filePath(QStringLiteral("books/fuzzed.epub"));
    const QString saved = g_scratch->filePath(QStringLiteral("books/saved.epub"));
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    if (input.startsWith("PK\x03\x04")) {
        QFile file(book);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(input);
    } else {
        packMembers(input, book);
    }
    bool written = false;
    {
        cli::BookSession session;
        if (session.open(book) && session.container().HasPackage()) {
            QString failure;
            written = session.savePackageFiles(saved, &failure) && session.saveAs(saved);
        }
    }
    if (written) {
        cli::BookSession again;
        if (!again.open(saved) || !again.container().HasPackage())
            __builtin_trap();
    }
    QFile::remove(saved);
    return 0;
}
