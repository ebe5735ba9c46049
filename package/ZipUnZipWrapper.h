#pragma once
// The binding to the ZIP archive library: lists, extracts and writes archives.
//
// The library is bound by LoadLibraries and released by FreeLibraries; every archive
// operation fails cleanly (returns false, touches nothing) while it is not bound, so that
// callers which ignore the result of LoadLibraries cannot reach missing entry points.
#include "package/BookLimits.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class CZipUnZipWrapper {
public:
    CZipUnZipWrapper();
    virtual ~CZipUnZipWrapper();
    CZipUnZipWrapper(const CZipUnZipWrapper&) = delete;
    CZipUnZipWrapper& operator=(const CZipUnZipWrapper&) = delete;

    bool LoadLibraries();
    void FreeLibraries();
    bool IsLoaded() const { return m_bLoaded; }

    // Prepares the writing options for the next ArchivePass: names relative to the root
    // folder, recursion, no extra fields, directory entries, compression level 6.
    bool InitZip();

    // Appends the name of every member, in archive order, to `members`. Names flagged as
    // UTF-8 are read as such; others as UTF-8 when they are valid UTF-8, else as CP949 (the
    // encoding of Korean Windows zip tools). False when the archive cannot be read, a name
    // cannot be decoded, a name comes twice, or the archive is over a limit (too many
    // members, too large unpacked, a member packed tighter than the ratio allows).
    bool ListMembers(const QString& archive, QStringList& members);
    void SetLimits(const _ARCHIVE_LIMITS& limits) { m_limits = limits; }

    // Recreates every member below `folder`. Members whose name is absolute or climbs out
    // with "..", symbolic links, and members that would land outside `folder` are skipped
    // and listed by GetSkippedMembers(); the rest are extracted, overwriting existing files.
    // Stops with false at the first member that cannot be unpacked or written (a damaged
    // member, an unknown compression method, one that unpacks to more than its recorded
    // size, a file where a folder must go, a full disk), or when the archive cannot be read.
    //
    // With `unpackNow`, only the files whose path below `folder` it accepts are written;
    // every other member is read through all the same (so that a damaged one fails the
    // open now) and left in the archive until UnpackLeftMember asks for it. Their folders
    // are made, and the save copies them from the archive, which must then be unchanged.
    // A program that reads a few package files of a large book writes only those.
    // (An archive whose state cannot be recorded, a link for one, is unpacked whole.)
    using UnpackFilter = std::function<bool(const QString& relativePath)>;
    bool ExtractAll(const QString& archive, const QString& folder, const UnpackFilter& unpackNow = {});
    const QStringList& GetSkippedMembers() const { return m_skippedMembers; }
    // True when the file at `path` is a member the last ExtractAll left in the archive.
    bool IsLeftInArchive(const QString& path) const;
    // Writes the member left in the archive at `path`, when there is one, nothing has taken
    // its place and the archive is unchanged. True when it was written.
    bool UnpackLeftMember(const QString& path);

    // Why the last ListMembers or ExtractAll failed, naming the member where there is one.
    const QString& GetLastError() const { return m_strLastError; }

    // Adds files below `rootFolder` to `archive`, creating it when absent. `pattern` is one
    // file name relative to the root, or "*.*" for every file and folder below it. Members
    // already in the archive are replaced where they stand; a top-level "mimetype" is stored,
    // everything else deflated. Symbolic links and the archive itself are never added.
    // False when the file is missing or the archive cannot be written.
    //
    // A file that is still exactly as the last ExtractAll wrote it (same size, times and
    // inode), from an archive that has not changed since, is copied from that archive as
    // it is compressed there instead of being compressed again; so is a member left in the
    // archive while no file has taken its place. False when such members are left and the
    // archive has changed: they cannot be copied, and the book would lose them.
    bool ArchivePass(const QString& rootFolder, const QString& pattern, const QString& archive);
    // Forgets what the last ExtractAll wrote: the next ArchivePass compresses every file.
    void ForgetExtractedMembers();

    // What identifies one state of a file on disk: any write, rename or replacement changes it.
    struct FileStamp {
        qint64 size = -1;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        quint64 inode = 0;
        quint64 device = 0;
        bool operator==(const FileStamp&) const = default;
    };

private:
    // Opens an archive for listing or extraction; null, with the reason kept, on failure.
    struct zip* OpenForReading(const QString& archive);
    // The archive of the last extraction, opened for copying, when it is unchanged since.
    struct zip* OpenUnchangedSource() const;

    bool CheckLimits(struct zip* archive, const QStringList& names);

    _ARCHIVE_LIMITS m_limits;
    bool m_bLoaded = false;
    bool m_bZipInitialised = false;
    int m_nCompressionLevel = 0;
    QStringList m_skippedMembers;
    QString m_strLastError;
    struct ExtractedMember {
        quint64 index = 0;
        bool stored = false; // kept stored when copied; the library would deflate it otherwise
        FileStamp written;
    };
    QString m_strSourceArchive;
    FileStamp m_sourceStamp;
    QHash<QString, ExtractedMember> m_extracted; // by member name
    QString m_strExtractedRoot;
    QHash<QString, ExtractedMember> m_left; // by path below the root; `written` unused
};
