#pragma once
// Reading the game's help file, a compiled HTML help (CHM) archive, with
// chmlib: the files it stores and what its system record says about it.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

struct chmFile;

namespace morvane {

class ChmFile {
public:
    // Opens the archive at `path`. On failure returns nullptr and, when
    // `problem` is given, sets it to a message for the player that names
    // the file (missing, unreadable, or not a help file).
    static std::unique_ptr<ChmFile> open(const QString& path, QString* problem = nullptr);

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

    // From the archive's system record; empty when it does not say.
    const QString& title() const { return title_; }
    const QString& default_topic() const { return default_topic_; }
    const QString& contents_file() const { return contents_file_; }

private:
    ChmFile(chmFile* handle, QString path);
    void read_system_record();

    chmFile* handle_;
    QString path_;
    QString title_;
    QString default_topic_;
    QString contents_file_;
};

// Why the help file at `path` cannot be shown, as the message the player
// sees (naming the file); empty when it can be opened.
QString help_file_problem(const QString& path);

}  // namespace morvane
