#pragma once

#include "favorites/FavoritesEdit.h"
#include "favorites/FavoritesFiles.h"
#include "forms/DesignedForm.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class UserDialogs;

// The favorites editor: adds, changes, deletes and reorders the favorites on its own copy of
// the two files, and writes both back when it closes (Done, Cancel or the close box alike).
class frmDelFav : public QWidget
{
    Q_OBJECT
public:
    // appFolder: where the favorites files are.
    // dialogs: tells the user when the favorites cannot be saved.
    // showFavList: the main window's ShowFavList, called once the files are saved with what
    // they now hold as the main window reads them.
    // removeFavorite: takes a deleted favorite (address, name) out of the main window's lists at
    // once; may be empty.
    frmDelFav(
        const QString &appFolder, UserDialogs *dialogs,
        std::function<void(const FavoritesPair &saved)> showFavList,
        std::function<void(const FavoriteText &address, const FavoriteText &name)> removeFavorite
        = {},
        QWidget *parent = nullptr);

    static constexpr const char *Caption = "Edit Favorites";
    static constexpr const char *ProductTitle = ProductTitleText;

    // Fills the lists from the favorites files; run once, when the window is built.
    void LoadEditFavList();
    // What LoadEditFavList read: both files as ReadFavorites gives them.
    const FavoritesPair &Loaded() const { return m_loaded; }
    // Writes both files and, when they are written, calls showFavList. False, after telling the
    // user once, when they could not be written: the window then keeps its lists.
    bool SaveFavList();

    void List1_Click();
    void List2_Click();
    void txtFavname_KeyPress();
    void txtFavAddress_KeyPress();
    void cmdAdd_Click();
    void cmdChange_Click();
    void cmdDelete_Click();
    void Command1_Click(); // Up
    void Command2_Click(); // Down
    void Command3_Click(); // Cancel
    void cmdDone_Click();

    QToolButton *Command1 = nullptr;
    QToolButton *Command2 = nullptr;
    QToolButton *cmdDelete = nullptr;
    QToolButton *cmdAdd = nullptr;
    QToolButton *cmdChange = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *cmdDone = nullptr;
    QLineEdit *txtFavname = nullptr;
    QLineEdit *txtFavAddress = nullptr;
    QLabel *lblFavName = nullptr;
    QLabel *lblAddress = nullptr;
    QListWidget *List2 = nullptr;
    QListWidget *List1 = nullptr;

    // A text box's text as last shown (shortened when long) and the whole text it stands for.
    struct BoxText
    {
        QString shown;
        FavoriteText whole;
    };

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildControls();
    // Brings the text boxes' contents into the state before a command reads them.
    void TakeTexts();
    // Shows the state in the controls.
    void ShowEdit();
    void ListClicked(QListWidget *list);
    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;

    QString m_appFolder;
    UserDialogs *m_dialogs;
    std::function<void(const FavoritesPair &)> m_showFavList;
    std::function<void(const FavoriteText &, const FavoriteText &)> m_removeFavorite;
    FavoritesEdit m_edit;
    BoxText m_nameInBox;
    BoxText m_addressInBox;
    // How many entries of each file this window holds as read (or as last saved); a save keeps
    // whatever the files hold beyond that.
    FavoritesPair m_loaded;
    int m_addressesShown = 0;
    int m_namesShown = 0;
    bool m_showing = false; // set while the controls are being made to show the state
    bool m_centred = false;
};
