#pragma once
// Builds small ZIP archives for the tests, member by member, including the malformed and
// hostile ones a real book file may turn out to be.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <sys/stat.h>
#include <zip.h>

class ArchiveBuilder {
public:
    ArchiveBuilder& add(const QString& name, const QByteArray& data, bool store = true)
    {
        m_members.append({name.toUtf8(), data, store, false, false});
        return *this;
    }
    // A member whose name is these bytes, without the UTF-8 flag, as zip tools of other
    // systems write names in their own code page.
    ArchiveBuilder& addRawName(const QByteArray& name, const QByteArray& data)
    {
        m_members.append({name, data, true, false, false, true});
        return *this;
    }
    ArchiveBuilder& addWithExtraField(const QString& name, const QByteArray& data)
    {
        m_members.append({name.toUtf8(), data, true, true, false});
        return *this;
    }
    ArchiveBuilder& addSymlink(const QString& name, const QByteArray& target)
    {
        m_members.append({name.toUtf8(), target, true, false, true});
        return *this;
    }
    // A stored mimetype first and a container naming OEBPS/content.opf.
    ArchiveBuilder& addEpubFrame(const QByteArray& mimetype = "application/epub+zip")
    {
        add("mimetype", mimetype);
        return addContainer("<rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/>");
    }
    // META-INF/container.xml with these rootfile elements.
    ArchiveBuilder& addContainer(const QByteArray& rootfiles)
    {
        return add("META-INF/container.xml",
                   "<?xml version=\"1.0\"?><container version=\"1.0\" "
                   "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles>"
                       + rootfiles + "</rootfiles></container>");
    }

    bool write(const QString& path) const
    {
        QFile::remove(path);
        int error = 0;
        zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (!zip)
            return false;
        for (const Member& member : m_members) {
            zip_source_t* source = zip_source_buffer(zip, member.data.constData(),
                                                     zip_uint64_t(member.data.size()), 0);
            const zip_int64_t index = zip_file_add(zip, member.name.constData(), source,
                                                   member.rawName ? ZIP_FL_ENC_GUESS : ZIP_FL_ENC_UTF_8);
            if (index < 0) {
                zip_source_free(source);
                zip_discard(zip);
                return false;
            }
            const auto i = zip_uint64_t(index);
            zip_set_file_compression(zip, i, member.store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
            if (member.extraField) {
                static const zip_uint8_t payload[4] = {1, 2, 3, 4};
                zip_file_extra_field_set(zip, i, 0xCAFE, ZIP_EXTRA_FIELD_NEW, payload, 4, ZIP_FL_LOCAL);
            }
            if (member.symlink)
                zip_file_set_external_attributes(zip, i, 0, ZIP_OPSYS_UNIX, (S_IFLNK | 0777) << 16);
        }
        return zip_close(zip) == 0;
    }

private:
    struct Member {
        QByteArray name;
        QByteArray data;
        bool store;
        bool extraField;
        bool symlink;
        bool rawName = false;
    };
    QList<Member> m_members;
};
