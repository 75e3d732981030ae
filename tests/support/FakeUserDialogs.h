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
    QString OpenFileName(QWidget *) override { return openFileName; }

    QStringList messages;
    QStringList titles;
    QString openFileName;
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
