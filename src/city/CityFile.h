#pragma once

#include <QString>

#include <functional>

// The saved city file: "<folder>/<city name>.txt", the report box's text with CR LF line ends
// and one final CR LF, in Windows-1252 without a byte-order mark. An existing city file is
// replaced, but only once the new one is complete; any other existing file is replaced only
// when the caller says so.
class CityFile
{
public:
    enum class Status {
        Saved,
        NameNotAllowed, // the city name cannot be a file name inside the folder
        Unencodable,    // the text holds a character Windows-1252 lacks
        NotACityFile,   // a file of that name exists and is not a city file; it is untouched
        WriteFailed,    // the system refused; the old file, if any, is intact
        FolderNotMade,  // the documents folder (path) was missing and could not be created
    };

    // Which existing file a save may replace.
    enum class Replace {
        CityFilesOnly, // a city file of the same name; anything else is left alone
        Anything,      // whatever is there (the user agreed to replace it)
    };

    struct Outcome
    {
        Status status = Status::Saved;
        QString path;           // the file written or tried; empty when refused before that
        QString error;          // the system's reason, for WriteFailed
        char32_t character = 0; // the first unencodable character
    };

    // Whether a city name can name a file inside the folder: no path separators, none of
    // : * ? " < > |, no control characters or unpaired surrogates, and not "." or "..".
    // The empty name is fine (the file is then ".txt").
    static bool isUsableName(const QString &cityName);

    // The file's text: every line end of the box (CR LF, LF, CR, U+2028, U+2029) as CR LF,
    // then one CR LF more.
    static QString content(const QString &boxText);

    // folder + "/" (unless it already ends with one) + city name + ".txt".
    static QString pathFor(const QString &folder, const QString &cityName);

    // Whether the file at `path` is a city file: it begins with "Cidade: ", the first line of
    // every report. A missing or unreadable file is not one.
    static bool isCityFile(const QString &path);

    // Where the file goes: the program's folder, or the documents folder for an installed
    // program, that is when the program's folder is named "bin" (/usr/bin, ~/.local/bin,
    // /opt/x/bin) or exists but may not be written to. A folder that does not exist stays the
    // choice otherwise, so the failure is reported rather than hidden.
    static QString chooseFolder(const QString &programFolder, bool programFolderExists,
                                bool programFolderWritable, const QString &documentsFolder);

    // chooseFolder applied to this machine: the executable's folder (or the one set for
    // tests) and the user's documents folder, which is created when it is the choice and
    // does not exist yet. `made` (when given) turns false when that creation failed.
    static QString saveFolder(bool *made = nullptr);

    // Checks the name, the text and what the file would replace, then writes the file
    // atomically into `folder`. Nothing is written unless everything checks out.
    static Outcome save(const QString &folder, const QString &cityName, const QString &boxText,
                        Replace replace = Replace::CityFilesOnly);

    // The same into saveFolder(), which is looked up (and a missing documents folder
    // created) only once the name and the text have passed their checks.
    static Outcome save(const QString &cityName, const QString &boxText,
                        Replace replace = Replace::CityFilesOnly);

    // For tests: stand-ins for the executable's folder, the documents folder and the
    // writability check. An empty folder or an empty function puts the real one back.
    static void setProgramFolder(const QString &folder);
    static void setDocumentsFolder(const QString &folder);
    static void setWritableCheck(std::function<bool(const QString &folder)> check);
};
