#include "help/help_chm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chm_lib.h>

namespace morvane {

namespace {

QString shown_name(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString archive_path(const QString& name) {
    return name.startsWith(u'/') ? name : QStringLiteral("/") + name;
}

int collect_entry(chmFile*, chmUnitInfo* unit, void* context) {
    const QString path = QString::fromUtf8(unit->path);
    const bool bookkeeping = path.startsWith(QStringLiteral("/#")) ||
                             path.startsWith(QStringLiteral("/$")) ||
                             path.startsWith(QStringLiteral("::"));
    if (!bookkeeping && !path.endsWith(u'/'))
        static_cast<QStringList*>(context)->append(path);
    return CHM_ENUMERATOR_CONTINUE;
}

// A zero-terminated text field of the system record.
QString field_text(const QByteArray& data) {
    const qsizetype end = data.indexOf('\0');
    return QString::fromUtf8(end < 0 ? data : data.left(end)).trimmed();
}

}  // namespace

std::unique_ptr<ChmFile> ChmFile::open(const QString& path, QString* problem) {
    auto fail = [&](const QString& message) {
        if (problem) *problem = message;
        return std::unique_ptr<ChmFile>();
    };
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return fail(QStringLiteral("The help file %1 is missing.").arg(shown_name(path)));
    if (!info.isFile() || !info.isReadable())
        return fail(QStringLiteral("The help file %1 cannot be read.").arg(shown_name(path)));
    // chmlib opens the file itself; it also refuses anything that is not
    // a CHM archive.
    chmFile* handle = chm_open(QFile::encodeName(info.absoluteFilePath()).constData());
    if (!handle)
        return fail(QStringLiteral("The help file %1 cannot be read: it is damaged or is not "
                                   "a compiled help file.")
                        .arg(shown_name(path)));
    if (problem) problem->clear();
    return std::unique_ptr<ChmFile>(new ChmFile(handle, info.absoluteFilePath()));
}

ChmFile::ChmFile(chmFile* handle, QString path) : handle_(handle), path_(std::move(path)) {
    read_system_record();
}

ChmFile::~ChmFile() { chm_close(handle_); }

QStringList ChmFile::entries() const {
    QStringList paths;
    chm_enumerate(handle_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect_entry, &paths);
    return paths;
}

std::optional<QByteArray> ChmFile::read(const QString& name) const {
    const QByteArray path = archive_path(name).toUtf8();
    if (path.size() > CHM_MAX_PATHLEN) return std::nullopt;
    chmUnitInfo unit{};
    if (chm_resolve_object(handle_, path.constData(), &unit) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (unit.length > static_cast<LONGUINT64>(64 * 1024 * 1024)) return std::nullopt;
    QByteArray data(static_cast<qsizetype>(unit.length), Qt::Uninitialized);
    if (unit.length == 0) return data;
    const LONGINT64 got = chm_retrieve_object(handle_, &unit,
                                              reinterpret_cast<unsigned char*>(data.data()), 0,
                                              static_cast<LONGINT64>(unit.length));
    if (got != static_cast<LONGINT64>(unit.length)) return std::nullopt;
    return data;
}

bool ChmFile::contains(const QString& name) const {
    const QByteArray path = archive_path(name).toUtf8();
    chmUnitInfo unit{};
    return path.size() <= CHM_MAX_PATHLEN &&
           chm_resolve_object(handle_, path.constData(), &unit) == CHM_RESOLVE_SUCCESS;
}

// The system record "/#SYSTEM": a 4-byte version, then fields of a 2-byte
// code, a 2-byte length and that many bytes, all little-endian. Code 0
// names the contents file, 2 the default topic and 3 the title.
void ChmFile::read_system_record() {
    const std::optional<QByteArray> record = read(QStringLiteral("/#SYSTEM"));
    if (!record) return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(record->constData());
    const qsizetype size = record->size();
    for (qsizetype at = 4; at + 4 <= size;) {
        const int code = bytes[at] | bytes[at + 1] << 8;
        const qsizetype length = bytes[at + 2] | bytes[at + 3] << 8;
        at += 4;
        if (at + length > size) break;
        const QByteArray data = record->mid(at, length);
        switch (code) {
            case 0: contents_file_ = field_text(data); break;
            case 2: default_topic_ = field_text(data); break;
            case 3: title_ = field_text(data); break;
            default: break;
        }
        at += length;
    }
}

QString help_file_problem(const QString& path) {
    QString problem;
    ChmFile::open(path, &problem);
    return problem;
}

}  // namespace morvane
