#pragma once
// Profile (INI) files the way the Windows profile functions keep them: "[section]" header lines,
// "key=value" entries beneath them, GBK text, CR LF line ends. QtCore only.
//
// Reading: a header is a line whose first non-blank character is "[" and which has a "]" after
// it; the name lies between the "[" and the last "]". An entry is a line with "=" in it (key and
// value trimmed of blanks); a line without "=" is a key with an empty value; lines starting with
// ";" are comments. Section and key names match case-insensitively; the first match counts.
//
// Writing one entry (writeProfileString, Profile::setString) creates the file when it is missing,
// appends a missing section at the end of the file, replaces the value of an existing key in place
// or appends a new key after the last line of its section, and leaves every other byte as it was.
// The file is replaced atomically, so a failed write never leaves it cut short.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Profile {
  public:
    Profile() = default;
    explicit Profile(const QByteArray& bytes);

    // Reads the file at the path; a missing file gives an empty profile. False, with the reason
    // in Chinese, when the file exists but cannot be read (the profile is then empty).
    bool load(const QString& path, QString* error = nullptr);
    // Writes the whole profile to the path atomically.
    bool save(const QString& path, QString* error = nullptr) const;

    // The value of the key in the section, or nothing when either is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Sets one entry as the platform's profile writer does. Line breaks in the value become blanks
    // (a value is one line).
    void setString(const QString& section, const QString& key, const QString& value);

    QByteArray bytes() const;

  private:
    enum class Kind { Other, Header, Entry };
    struct Line {
        QByteArray text;  // without the line end
        QByteArray end;   // "\r\n", "\r", "\n" or empty for a last line without one
        Kind kind = Kind::Other;
        QString name;   // section name of a header, key of an entry
        QString value;  // value of an entry
    };

    static Line parse(QByteArray text, QByteArray end);
    static Line entryLine(const QString& key, const QString& value);
    int findSection(const QString& section) const;
    int sectionEnd(int header) const;  // index of the next header, or the line count
    void endLastLine();

    QList<Line> m_lines;
};

// Sets one entry in the profile file at the path (see above). False, with the reason in Chinese,
// when the file cannot be read or written; the file is then unchanged.
bool writeProfileString(const QString& path, const QString& section, const QString& key,
                        const QString& value, QString* error = nullptr);

// The value of the key in the section of the profile file, or the empty text when the file, the
// section or the key is missing. A missing file is not created. NUL characters are removed.
QString ReadProfileValue(const QString& section, const QString& key, const QString& path);

// The section names of the profile file, in file order: the whole file is read, decoded from GBK
// and split into lines (at CR LF, and at a lone CR or LF too, so that a file saved by a Linux
// editor keeps its sections); every line containing "[" anywhere counts as a header, and its name
// is the line with every "[" and "]" removed (nothing else trimmed). Empty when the file cannot be
// read.
QStringList ListProfileSections(const QString& path);

// The same rule applied to a file's bytes.
QStringList profileSectionNames(const QByteArray& bytes);
