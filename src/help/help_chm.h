#pragma once
// Reading the game's help file, a compiled HTML help (CHM) archive, with
// libmspack: the files it stores and what its system record says about it.
// The whole archive is read into memory first and everything comes from
// there; nothing is ever written out.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

struct mschm_decompressor;
struct mschmd_header;
struct mschmd_file;

namespace morvane {

class ChmFile {
public:
    // The largest help file that is read, and the largest file inside it.
    static constexpr qsizetype kMaxFileSize = 32 * 1024 * 1024;
    static constexpr qint64 kMaxEntrySize = 8 * 1024 * 1024;

    // Opens the archive at `path`. On failure returns nullptr and, when
    // `problem` is given, sets it to a message for the player that names
    // the file (missing, unreadable, or not a help file).
    static std::unique_ptr<ChmFile> open(const QString& path, QString* problem = nullptr);

    // Opens an archive held in memory; `path` is only what path() says.
    static std::unique_ptr<ChmFile> from_bytes(QByteArray bytes, const QString& path = {});

    // An archive of the given files as they are, without a compiled file
    // behind it (to try pages without compiling them: tests and fuzzing).
    static std::unique_ptr<ChmFile> from_files(const QList<std::pair<QString, QByteArray>>& files);

    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // The absolute path the archive was opened from.
    const QString& path() const { return path_; }

    // The files the archive stores, as absolute archive paths such as
    // "/index.html", leaving out the archive's own bookkeeping (paths that
    // start with "/#", "/$" or "::") and folders.
    QStringList entries() const;

    // The contents of file `name` ("index.html" or "/index.html"; letter
    // case does not matter), or nothing when the archive lacks it or it
    // cannot be read.
    std::optional<QByteArray> read(const QString& name) const;
    bool contains(const QString& name) const;
    // The size of file `name` as the archive records it; -1 when it lacks
    // the file.
    qint64 size_of(const QString& name) const;

    // From the archive's system record; empty when it does not say.
    const QString& title() const { return title_; }
    const QString& default_topic() const { return default_topic_; }
    const QString& contents_file() const { return contents_file_; }

    // What libmspack is handed: the archive's bytes and a place for what
    // it unpacks (see help_chm.cpp).
    struct Memory;

private:
    ChmFile() = default;
    const mschmd_file* find(const QString& name) const;
    void read_system_record();

    std::unique_ptr<Memory> memory_;
    mschm_decompressor* decompressor_ = nullptr;
    mschmd_header* header_ = nullptr;
    QHash<QString, const mschmd_file*> files_;  // by lower-case archive path
    QHash<QString, QByteArray> plain_;          // from_files(): by lower-case archive path
    QStringList entries_;
    QString path_;
    QString title_;
    QString default_topic_;
    QString contents_file_;
};

// Why the help file at `path` cannot be shown, as the message the player
// sees (naming the file); empty when it can be opened.
QString help_file_problem(const QString& path);

}  // namespace morvane
