#pragma once

#include "associations/FileAssociations.h"

#include <QStringList>

class ProcessLauncher;

// Associations on a freedesktop desktop: the program's name as the default program of a MIME
// type in the user's mimeapps.list. An installed program has its desktop entry; for a copy that
// is not installed, the wizard writes one of its own, under an id no package uses, into the
// user's applications folder. What is added is all that is taken away again.
class XdgAssociations : public FileAssociations
{
public:
    // dataHome, configHome: the user's data and configuration folders (XDG_DATA_HOME,
    // XDG_CONFIG_HOME). launcher: runs the desktop's index update.
    // dataDirs: where installed entries are found (XDG_DATA_DIRS).
    XdgAssociations(ProcessLauncher &launcher, const QString &dataHome, const QString &configHome,
                    const QStringList &dataDirs = DataDirs());

    // The user's folders as the environment names them, by the freedesktop rules: an absolute
    // XDG_DATA_HOME or XDG_CONFIG_HOME, else ~/.local/share and ~/.config.
    static QString DataHome();
    static QString ConfigHome();
    // The system's data folders: the absolute ones XDG_DATA_DIRS names, else /usr/local/share
    // and /usr/share.
    static QStringList DataDirs();

    // Makes the program the default (and an added program) of the extension's MIME type: the
    // installed entry where one starts this very executable, else the wizard's own entry,
    // written with the type among its MIME types. False when the extension is not one the
    // program opens or a file could not be written; mimeapps.list is then as it was.
    bool CreateAssociation(const QString &executablePath, const QString &extension) override;
    // Takes the program off as the default and added program of the extension's MIME type, and
    // the type off the wizard's own entry; the entry itself goes once mimeapps.list names it no
    // more. False when mimeapps.list could not be read or written.
    bool RemoveAssociation(const QString &extension) override;
    // Rebuilds the desktop's MIME index of the applications folder, where the tool for it is
    // installed.
    void NotifyAssociationChange() override;

    QString ApplicationsFolder() const;
    // The wizard's own entry, for a copy of the program that is not installed.
    QString DesktopEntryPath() const;
    // The id of the installed entry that starts executablePath; empty when none does.
    QString InstalledEntryFor(const QString &executablePath) const;
    QString MimeAppsListPath() const;

private:
    ProcessLauncher &m_launcher;
    QString m_dataHome;
    QString m_configHome;
    QStringList m_dataDirs;
};
