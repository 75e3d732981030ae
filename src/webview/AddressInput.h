#pragma once

#include <QString>
#include <QUrl>

// What the web view does with a text given to Navigate, decided the way an address bar decides.
struct AddressAction
{
    enum Kind {
        Nothing, // empty text: the page stays as it is
        Load, // load url in the view
        Mail, // hand url (mailto:) to the desktop's mail program; the page stays as it is
        Search, // load url: the search page with the words filled in
    };
    Kind kind = Nothing;
    QUrl url;
};

// Reads text as an address: full addresses, bare host names ("example.com", "localhost:8080"),
// about:, view-source:, mailto:, local file paths (absolute, or relative to workingDir, blanks
// allowed). A single word with no dot that is neither "localhost" nor a file in workingDir, and
// text of several words, are searched for with searchPage.
AddressAction ResolveAddressInput(const QString &text, const QString &workingDir,
                                  const QString &searchPage);

// searchPage with every "%s" replaced by the percent-encoded words (empty words: the plain page).
QUrl SearchPageUrl(const QString &searchPage, const QString &words);
