#pragma once
// A settings file read and written with the semantics of Windows' profile-string
// functions: "[Section]" headers and "key=value" lines, section and key names
// compared without regard to case, a missing file or key gives the default,
// writing one key keeps every other line of the file as it was.
#include <QList>
#include <QPair>
#include <QString>
#include <stdexcept>

namespace platform {

class ProfileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ProfileFile {
public:
    explicit ProfileFile(QString path);

    const QString& path() const { return path_; }

    // The value of key in section, trimmed and without enclosing quotes;
    // defaultValue when the file, the section or the key is missing or the
    // file cannot be read. A key present with nothing after '=' gives "".
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;

    // Sets key in section (adding section and key where missing) and writes
    // the file at once, atomically. Raises ProfileError when it cannot.
    void writeString(const QString& section, const QString& key, const QString& value) const;

    // The "key=value" lines of a section in file order (comments left out);
    // empty when the file or the section is missing.
    QList<QPair<QString, QString>> readSection(const QString& section) const;

    // Replaces the whole content of a section (adding the section at the end
    // when missing), keeping every other line of the file. Raises ProfileError.
    void writeSection(const QString& section, const QList<QPair<QString, QString>>& entries) const;

private:
    QString path_;
};

} // namespace platform
