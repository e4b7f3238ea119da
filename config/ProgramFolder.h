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

    // The folder named by --home (homeOption), else by CLIPWRIGHT_HOME, else DefaultHome; the
    // supplied files beside the executable (a build) or in share/clipwright (an installation).
    // The folder is created when it does not exist yet, so that the settings can be written there.
    static ProgramFolder ForRunningProgram(const QString& homeOption);

    // The choice behind ForRunningProgram, apart from the process environment.
    static QString ChooseHome(const QString& homeOption, const QString& environmentHome,
                              const QString& defaultHome);

    // Without a named folder: the executable's folder for a build; for an installed program (one
    // whose supplied files lie in ../share/clipwright) the user's configuration folder
    // userConfigFolder/clipwright, even for root, since the executable's folder is not the
    // user's to write.
    static QString DefaultHome(const QString& executableFolder, const QString& userConfigFolder);

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
