#include "help/help_chm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <mspack.h>

namespace morvane {

// libmspack reads and writes through an mspack_system of ours: "files" are
// the archive's bytes, held in memory, and a buffer that collects one
// unpacked file. It opens no file of the disk, whatever name it is given.
struct ChmFile::Memory : mspack_system {
    QByteArray archive;
    QByteArray unpacked;  // sized for the file being unpacked
    qint64 written = 0;
};

namespace {

constexpr char kArchiveName[] = "archive";
constexpr char kUnpackedName[] = "unpacked";

struct MemoryFile {
    ChmFile::Memory* memory;
    bool writing;
    qint64 at;
};

ChmFile::Memory* memory_of(mspack_system* system) { return static_cast<ChmFile::Memory*>(system); }

MemoryFile* file_of(mspack_file* file) { return reinterpret_cast<MemoryFile*>(file); }

mspack_file* open_memory(mspack_system* system, const char* name, int mode) {
    ChmFile::Memory* memory = memory_of(system);
    bool writing = false;
    if (mode == MSPACK_SYS_OPEN_READ && std::strcmp(name, kArchiveName) == 0)
        writing = false;
    else if (mode == MSPACK_SYS_OPEN_WRITE && std::strcmp(name, kUnpackedName) == 0)
        writing = true;
    else
        return nullptr;
    if (writing) memory->written = 0;
    return reinterpret_cast<mspack_file*>(new MemoryFile{memory, writing, 0});
}

void close_memory(mspack_file* file) { delete file_of(file); }

int read_memory(mspack_file* handle, void* buffer, int bytes) {
    MemoryFile* file = file_of(handle);
    if (file->writing || bytes < 0) return -1;
    const qint64 size = file->memory->archive.size();
    const qint64 count = std::min<qint64>(bytes, std::max<qint64>(0, size - file->at));
    if (count > 0) std::memcpy(buffer, file->memory->archive.constData() + file->at, count);
    file->at += count;
    return static_cast<int>(count);
}

int write_memory(mspack_file* handle, void* buffer, int bytes) {
    MemoryFile* file = file_of(handle);
    ChmFile::Memory& memory = *file->memory;
    if (!file->writing || bytes < 0 || memory.written + bytes > memory.unpacked.size()) return -1;
    std::memcpy(memory.unpacked.data() + memory.written, buffer, bytes);
    memory.written += bytes;
    return bytes;
}

int seek_memory(mspack_file* handle, off_t offset, int mode) {
    MemoryFile* file = file_of(handle);
    const qint64 size = file->writing ? file->memory->written : file->memory->archive.size();
    qint64 to = offset;
    if (mode == MSPACK_SYS_SEEK_CUR)
        to += file->at;
    else if (mode == MSPACK_SYS_SEEK_END)
        to += size;
    else if (mode != MSPACK_SYS_SEEK_START)
        return -1;
    if (to < 0 || to > size) return -1;
    file->at = to;
    return 0;
}

off_t tell_memory(mspack_file* handle) { return file_of(handle)->at; }

void quiet(mspack_file*, const char*, ...) {}
void* allocate(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void release(void* block) { std::free(block); }
void copy_bytes(void* from, void* to, size_t bytes) { std::memmove(to, from, bytes); }

QString shown_name(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

QString archive_path(const QString& name) { return name.startsWith(u'/') ? name : QStringLiteral("/") + name; }

// A zero-terminated text field of the system record.
QString field_text(const QByteArray& data) {
    const qsizetype end = data.indexOf('\0');
    return QString::fromUtf8(end < 0 ? data : data.left(end)).trimmed();
}

// The archive header holds two fixed GUIDs at bytes 24 and 40, which differ
// in their first byte (0x10, then 0x11). chmcmd, which compiles the game's
// help file, writes the first one twice, and libmspack checks both; the
// copy that libmspack reads gets the second one as it should be.
void accept_second_guid(QByteArray& archive) {
    constexpr qsizetype first = 24, second = 40, length = 16;
    if (archive.size() < second + length || !archive.startsWith("ITSF")) return;
    if (archive.mid(first, length) != archive.mid(second, length) ||
        static_cast<unsigned char>(archive[second]) != 0x10)
        return;
    archive[second] = static_cast<char>(0x11);
}

}  // namespace

std::unique_ptr<ChmFile> ChmFile::from_bytes(QByteArray bytes, const QString& path) {
    if (bytes.size() > kMaxFileSize) return nullptr;
    std::unique_ptr<ChmFile> file(new ChmFile);
    file->path_ = path;
    file->memory_ = std::make_unique<Memory>();
    Memory& memory = *file->memory_;
    memory.archive = std::move(bytes);
    accept_second_guid(memory.archive);
    static_cast<mspack_system&>(memory) =
        mspack_system{open_memory, close_memory, read_memory, write_memory, seek_memory, tell_memory,
                      quiet,       allocate,     release,     copy_bytes,   nullptr};
    file->decompressor_ = mspack_create_chm_decompressor(&memory);
    if (!file->decompressor_) return nullptr;
    file->header_ = file->decompressor_->open(file->decompressor_, kArchiveName);
    if (!file->header_) return nullptr;

    for (const mschmd_file* entry = file->header_->files; entry; entry = entry->next) {
        const QString name = QString::fromUtf8(entry->filename);
        if (!name.startsWith(u'/')) continue;
        file->files_.insert(name.toLower(), entry);
        const bool bookkeeping = name.startsWith(QStringLiteral("/#")) || name.startsWith(QStringLiteral("/$"));
        if (!bookkeeping && !name.endsWith(u'/')) file->entries_.append(name);
    }
    file->read_system_record();
    return file;
}

std::unique_ptr<ChmFile> ChmFile::from_files(const QList<std::pair<QString, QByteArray>>& files) {
    std::unique_ptr<ChmFile> file(new ChmFile);
    qint64 total = 0;
    for (const auto& [name, data] : files) {
        const QString path = archive_path(name);
        if ((total += data.size()) > kMaxFileSize) break;
        if (path.size() < 2 || file->plain_.contains(path.toLower())) continue;
        file->plain_.insert(path.toLower(), data);
        file->entries_.append(path);
    }
    return file;
}

std::unique_ptr<ChmFile> ChmFile::open(const QString& path, QString* problem) {
    auto fail = [&](const QString& message) {
        if (problem) *problem = message;
        return std::unique_ptr<ChmFile>();
    };
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return fail(QStringLiteral("The help file %1 is missing.").arg(shown_name(path)));
    QFile in(info.absoluteFilePath());
    if (!info.isFile() || !in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("The help file %1 cannot be read.").arg(shown_name(path)));
    std::unique_ptr<ChmFile> file;
    if (in.size() <= kMaxFileSize) file = from_bytes(in.read(kMaxFileSize), info.absoluteFilePath());
    if (!file)
        return fail(QStringLiteral("The help file %1 cannot be read: it is damaged or is not "
                                   "a compiled help file.")
                        .arg(shown_name(path)));
    if (problem) problem->clear();
    return file;
}

ChmFile::~ChmFile() {
    if (decompressor_) {
        if (header_) decompressor_->close(decompressor_, header_);
        mspack_destroy_chm_decompressor(decompressor_);
    }
}

QStringList ChmFile::entries() const { return entries_; }

const mschmd_file* ChmFile::find(const QString& name) const {
    return files_.value(archive_path(name).toLower(), nullptr);
}

std::optional<QByteArray> ChmFile::read(const QString& name) const {
    if (!decompressor_) {
        const auto it = plain_.constFind(archive_path(name).toLower());
        if (it == plain_.cend() || it->size() > kMaxEntrySize) return std::nullopt;
        return *it;
    }
    const mschmd_file* entry = find(name);
    if (!entry || entry->length < 0 || entry->length > kMaxEntrySize) return std::nullopt;
    if (entry->length == 0) return QByteArray();
    memory_->unpacked = QByteArray(static_cast<qsizetype>(entry->length), Qt::Uninitialized);
    memory_->written = 0;
    const int error = decompressor_->extract(decompressor_, const_cast<mschmd_file*>(entry), kUnpackedName);
    QByteArray data = std::exchange(memory_->unpacked, QByteArray());
    if (error != MSPACK_ERR_OK || memory_->written != entry->length) return std::nullopt;
    return data;
}

bool ChmFile::contains(const QString& name) const { return size_of(name) >= 0; }

qint64 ChmFile::size_of(const QString& name) const {
    if (!decompressor_) {
        const auto it = plain_.constFind(archive_path(name).toLower());
        return it == plain_.cend() ? -1 : it->size();
    }
    const mschmd_file* entry = find(name);
    return entry ? qint64(entry->length) : -1;
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
