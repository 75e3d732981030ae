#pragma once

#include <QString>
#include <QUrl>

// Pages opened from this machine's files. A script of such a page must not read any other file
// of the machine, yet the page shows its own pictures, style sheets, scripts and frames, and its
// pictures from the web. So each file shown as a page is a site of its own: it is loaded under
// the address scheme below, with a host made from its own path, so no two files share an origin.
// What a page loads to show (a picture, a style sheet, a script) still comes from file:, which
// the engine hands to another origin only to show, never to read.

// The scheme of local files shown as pages ("localfile://<host>/<path>").
extern const char kLocalPageScheme[];

// The address a local file is shown as a page under: its own path, behind a host made from that
// path. fileUrl may be a file: address or one of the local-page scheme with any host.
QUrl LocalPageUrl(const QUrl &fileUrl);
// The file: address of a local-page address; any other address as it is.
QUrl LocalFileUrl(const QUrl &url);
// An address as the engine reports it, as the person knows it: a local page is its file: address
// (also inside view-source:); every other address is unchanged.
QString ShownAddress(const QString &engineAddress);

// What a request for a local address (file: or the local-page scheme) asks for.
enum class LocalRequestKind {
    Document, // a page, frame, object or window: shown as a page of its own
    ScriptRead, // a script reading it (XMLHttpRequest, fetch)
    Subresource, // a picture, style sheet, script, font, medium, worker... to show or run
};

// What is found at a local address's path when it is asked for.
enum class LocalPathKind {
    File, // a file this user can read
    Folder,
    Missing, // nothing, or nothing this user can read
};

struct LocalRequestDecision
{
    enum Action { Pass, Block, Redirect };
    Action action = Pass;
    QUrl to; // Redirect: the address to load instead

    bool operator==(const LocalRequestDecision &o) const
    {
        return action == o.action && to == o.to;
    }
};

// What becomes of a request for url. initiator is the origin of the document asking (empty when
// the browser asks: an address typed or given on the command line, history, or a server's
// redirect), firstParty the address of the window's top page. Only local pages, and the person
// through the browser, reach local files; a site never does, not even by a redirect. A local
// file shown as a page always loads under its own address; what it loads to show comes from
// file:; no script reads a local file. Folders, missing files and web archives stay with the
// engine's own pages for them (at is read for documents only). Addresses that are not local pass.
LocalRequestDecision DecideLocalRequest(LocalRequestKind kind, const QUrl &url,
                                        const QUrl &initiator, const QUrl &firstParty,
                                        LocalPathKind at);
