#pragma once

#include "services/InstanceStarter.h"
#include "services/UserDialogs.h"

#include <QStringList>

// Messages are recorded instead of shown; the open-file dialog answers with a set name.
class FakeUserDialogs : public UserDialogs
{
public:
    void MessageBox(QWidget *, const QString &text, const QString &title) override
    {
        messages << text;
        titles << title;
    }
    QString OpenFileName(QWidget *, const QString &folder) override
    {
        openFolders << folder;
        return openFileName;
    }
    bool Question(QWidget *, const QString &text, const QString &title) override
    {
        questions << text;
        titles << title;
        return answerYes;
    }

    QStringList messages;
    QStringList titles;
    QString openFileName;
    QStringList openFolders; // where each open-file dialog started
    QStringList questions;
    bool answerYes = false;
};

// Counts the instances it was asked to start; answers as told.
class FakeInstanceStarter : public InstanceStarter
{
public:
    bool StartInstance() override
    {
        ++started;
        return succeeds;
    }
    int started = 0;
    bool succeeds = true;
};
