// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DataController.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    DataController::shared();
    return 0;
}
