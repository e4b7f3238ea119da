// The program folder (where cw20.ini, cw20.key and DEBUG. live) and the lookup of the files
// supplied with the program, which a user may replace by dropping their own into that folder.
#pragma once

#include <QString>
#include <QStringList>

class ProgramFolder {
public:
    // home: the program folder; resourceFolders: where the supplied files are installed, in the
    // order they are tried.
    ProgramFolder(QString home, QStringList resourceFolders);

    // The folder named by --home (homeOption), else by CLIPWRIGHT_HOME, else the executable's
    // folder; the supplied files beside the executable (a build) or in share/clipwright (an
    // installation). A named folder that does not exist yet is created, so that the settings can
    // be written there.
    static ProgramFolder ForRunningProgram(const QString& homeOption);

    // The choice behind ForRunningProgram, apart from the process environment.
    static QString ChooseHome(const QString& homeOption, const QString& environmentHome,
                              const QString& executableFolder);

    const QString& Path() const { return home_; }

    // A file that belongs to this installation's user: always inside the program folder.
    QString FilePath(const QString& name) const;

    // A supplied file (cw20.cpt, cw20.sty, cw20dev.ini, help pages, pictures, sounds): the copy
    // in the program folder when there is one, else the first installed copy, else the program
    // folder's path (which then names a missing file).
    QString SuppliedFile(const QString& name) const;

private:
    QString home_;
    QStringList resourceFolders_;
};
