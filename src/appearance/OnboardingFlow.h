// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// Page navigation of the welcome tour: four pages, Back from the second on, and a primary
// action that advances or, on the last page, finishes.
class OnboardingFlow : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int step READ step NOTIFY stepChanged)
    Q_PROPERTY(int lastStep READ lastStep CONSTANT)
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY stepChanged)
    Q_PROPERTY(QString primaryTitle READ primaryTitle NOTIFY stepChanged)
public:
    explicit OnboardingFlow(QObject *parent = nullptr);

    int step() const { return m_step; }
    static int lastStep() { return 3; }
    bool canGoBack() const { return m_step > 0; }
    QString primaryTitle() const;

    // The primary button: the next page, or finished on the last one.
    Q_INVOKABLE void advance();
    Q_INVOKABLE void back();
    // A replayed tour starts again on the first page.
    Q_INVOKABLE void restart();

signals:
    void stepChanged();
    void finished();

private:
    void setStep(int step);

    int m_step = 0;
};
