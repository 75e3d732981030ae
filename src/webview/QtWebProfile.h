#pragma once

// The engine profiles the views share, made once per process. No engine header is seen from
// here: a view, and a test, name a profile by its kind.

#include <QString>

class QWebEngineProfile;

class QtWebProfile
{
public:
    enum class Kind {
        PerUser, // cookies and site data kept between runs, shared by every instance
        OffTheRecord, // nothing kept (tests)
    };

    // The profile of a kind, made on first use.
    static QWebEngineProfile *Shared(Kind kind);
    // The per-user data folder the PerUser profile lives in.
    static QString PerUserFolder();
    // Once the last view of the process is gone: the profile goes, and the folders of an
    // instance that did not own the per-user profile go with it.
    static void Release();
    // Makes the scheme local files are shown under known to the engine; before the engine
    // starts.
    static void RegisterLocalPageScheme();
};
