// Embeds the component as a host vendor would: a host on a fresh practice, the component
// handed its services, one code looked up.
#include <tqhost/Host.h>
#include <tqplatform/Currency.h>
#include <tqplatform/ScriptedUi.h>
#include <tqservicecode/clsServiceCode.h>
#include <tqservicecode/codes/ServiceCodeStore.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tqplatform::registerCurrencyMetaType();
    tqplatform::ScriptedUi ui;
    QTemporaryDir data;
    auto host =
        tqhost::createHost("sqlite://" + data.path() + "/practice.db", data.path(), "vendor");
    tqservicecode::clsServiceCode component;
    component.setGIC(host);
    tqservicecode::ServiceCodeRecord record;
    const bool found = tqservicecode::FindServiceCodeByCode("lab~", record);
    std::printf("%s %s\n", found ? "found" : "missing", qPrintable(record.description()));
    component.setGIC(nullptr);
    return found && record.code() == "LAB~" ? 0 : 1;
}
