// kvxpdf: the CUPS backend of the "Corvel_PDF" queue. CUPS hands it each job as a PDF; it
// keeps the PDF in the job user's PDF folder under a name made from the job's title, as the
// converter's silent mode does, with the title and the user as the PDF's title and author.
// Installed root-only (mode 0700), so that CUPS runs it as root; it then works as the job's
// user, whose files and folders it makes.
#include "pdfprinter/cups/BackendJob.h"
#include "pdfprinter/cups/PdfDelivery.h"

#include <QFileInfo>
#include <QStringList>

#include <cups/backend.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {

// Messages for CUPS: one line each on stderr, "ERROR:", "INFO:" or "DEBUG:" first.
void tell(const char* level, const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", level, text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// CUPS cancels a job with SIGTERM: the half-written file goes with it.
void onTerminate(int)
{
    const char* pending = CPdfDelivery::PendingFile();
    if (pending[0] != 0)
        ::unlink(pending);
    ::_exit(CUPS_BACKEND_OK);
}

// The PDF reader moves about in its file; a pipe from CUPS's filters is kept aside first.
std::FILE* seekableCopy(std::FILE* pipe)
{
    std::FILE* copy = std::tmpfile();
    char buffer[65536];
    std::size_t got = 0;
    while (copy && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        if (std::fwrite(buffer, 1, got, copy) != got) {
            std::fclose(copy);
            return nullptr;
        }
    }
    if (copy && (std::ferror(pipe) || std::fflush(copy) != 0 || std::fseek(copy, 0, SEEK_SET) != 0)) {
        std::fclose(copy);
        return nullptr;
    }
    return copy;
}

bool becomeUser(const passwd& user)
{
    if (::geteuid() != 0 || user.pw_uid == 0)
        return true;
    return ::initgroups(user.pw_name, user.pw_gid) == 0 && ::setgid(user.pw_gid) == 0 && ::setuid(user.pw_uid) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 1) {
        // Device discovery (lpinfo -v).
        std::printf("direct kvxpdf:/ \"Corvel PDF\" \"Corvel PDF\"\n");
        return CUPS_BACKEND_OK;
    }
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    CBackendJob job;
    if (!job.Parse(arguments)) {
        std::fprintf(stderr, "Usage: %s job-id user title copies options [file]\n", argv[0]);
        return CUPS_BACKEND_FAILED;
    }
    std::signal(SIGTERM, onTerminate);
    std::signal(SIGPIPE, SIG_IGN);

    // The job's file is readable by CUPS's users, not by the job's: open it first.
    std::FILE* input = job.m_strFile.isEmpty() ? seekableCopy(stdin) : std::fopen(argv[6], "rb");
    if (!input) {
        tell("ERROR", QStringLiteral("cannot read the job's file: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return CUPS_BACKEND_FAILED;
    }
    const passwd* user = ::getpwnam(argv[2]);
    if (!user) {
        tell("ERROR", QStringLiteral("the user \"%1\" is not known on this machine").arg(job.m_strUser));
        return CUPS_BACKEND_FAILED;
    }
    const passwd owner = *user;
    if (!becomeUser(owner)) {
        tell("ERROR", QStringLiteral("cannot act as the user \"%1\"").arg(job.m_strUser));
        return CUPS_BACKEND_FAILED;
    }

    const QString folder = PdfFolderFor(qEnvironmentVariable("DEVICE_URI"), QString::fromLocal8Bit(owner.pw_dir),
                                        job.m_strUser);
    if (folder.isEmpty()) {
        tell("ERROR", QStringLiteral("no PDF folder for \"%1\" (device %2)").arg(job.m_strUser,
                                                                             qEnvironmentVariable("DEVICE_URI")));
        return CUPS_BACKEND_FAILED;
    }
    QString error;
    const QString saved = CPdfDelivery::Deliver(input, {folder, job.m_strTitle, job.m_strUser}, &error);
    if (saved.isEmpty()) {
        tell("ERROR", error);
        return CUPS_BACKEND_FAILED;
    }
    if (::getuid() != owner.pw_uid)
        tell("INFO", QStringLiteral("the PDF belongs to the print service, not to \"%1\"").arg(job.m_strUser));
    tell("DEBUG", QStringLiteral("saved %1").arg(saved));
    tell("INFO", QStringLiteral("Saved as %1").arg(QFileInfo(saved).fileName()));
    return CUPS_BACKEND_OK;
}
