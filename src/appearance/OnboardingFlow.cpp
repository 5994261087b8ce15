// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/OnboardingFlow.h"

OnboardingFlow::OnboardingFlow(QObject *parent)
    : QObject(parent)
{ }

QString OnboardingFlow::primaryTitle() const
{
    return m_step == lastStep() ? tr("Start using Binzo") : tr("Continue");
}

void OnboardingFlow::advance()
{
    if (m_step == lastStep())
        emit finished();
    else
        setStep(m_step + 1);
}

void OnboardingFlow::back()
{
    if (canGoBack())
        setStep(m_step - 1);
}

void OnboardingFlow::restart()
{
    setStep(0);
}

void OnboardingFlow::setStep(int step)
{
    if (step == m_step)
        return;
    m_step = step;
    emit stepChanged();
}
