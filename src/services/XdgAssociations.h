#pragma once

#include "services/FileAssociations.h"

class ProcessLauncher;

// Associations on a freedesktop desktop: the program's desktop entry in the user's
// applications folder, and its name as the default program of a MIME type in the user's
// mimeapps.list.
class XdgAssociations : public FileAssociations
{
public:
    // dataHome, configHome: the user's data and configuration folders (XDG_DATA_HOME,
    // XDG_CONFIG_HOME). launcher: runs the desktop's index update.
    XdgAssociations(ProcessLauncher &launcher, const QString &dataHome, const QString &configHome);

    // The user's folders as the environment names them, by the freedesktop rules: an absolute
    // XDG_DATA_HOME or XDG_CONFIG_HOME, else ~/.local/share and ~/.config.
    static QString DataHome();
    static QString ConfigHome();

    // Writes the desktop entry and makes it the default program for the extension's MIME
    // type. False when the extension is not one the program opens or a file could not be
    // written; mimeapps.list is then as it was.
    bool CreateAssociation(const QString &executablePath, const QString &extension) override;
    // Takes the program off as the default for the extension's MIME type; the desktop entry
    // stays. False when mimeapps.list could not be read or written.
    bool RemoveAssociation(const QString &extension) override;
    // Rebuilds the desktop's MIME index of the applications folder, where the tool for it is
    // installed.
    void NotifyAssociationChange() override;

    QString ApplicationsFolder() const;
    QString DesktopEntryPath() const;
    QString MimeAppsListPath() const;

private:
    ProcessLauncher &m_launcher;
    QString m_dataHome;
    QString m_configHome;
};
