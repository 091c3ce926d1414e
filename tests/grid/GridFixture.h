#pragma once

#include "Files.h"

#include <tqhost/Host.h>
#include <tqhost/PracticeHost.h>
#include <tqservicecode/core/ComponentContext.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// A host on a practice of its own in a temporary folder, handed to the component.
struct HostFixture {
    QTemporaryDir dir;
    std::shared_ptr<tqhost::PracticeHost> host;
    HostFixture() {
        host = tqhost::createHost("sqlite:///" + dir.filePath("practice.db"), dir.path() + "/",
                                  QStringLiteral("ann"));
        tqservicecode::context().gic = host;
    }
    ~HostFixture() { tqservicecode::context().gic.reset(); }
    QString layoutFile(const QString& name) const { return dir.filePath("STP/TG" + name + ".STP"); }
};

}  // namespace
