#pragma once

#include <tqglobal/HostObject.h>
#include <tqglobal/IHostServices.h>

#include <QString>

#include <cstdint>
#include <memory>

/// The component-wide values: the host's four global objects and the answers screens
/// leave for the code that opened them. One set per thread, shared by every screen and
/// module of the component.
namespace tqservicecode {

struct ComponentContext {
    std::shared_ptr<tqGlobal::IHostServices> gic;
    std::shared_ptr<tqGlobal::HostObject> gc;
    std::shared_ptr<tqGlobal::HostObject> pv;
    std::shared_ptr<tqGlobal::HostObject> dac;
    /// How many codes the last screen returned (the picker, the browser).
    int16_t selectedCodeCount = 0;
    /// A screen's text answer (the calendar's date, the provider list's cancel).
    QString screenResultText;
};

/// This thread's values.
ComponentContext& context();

/// The host's services. Throws tqGlobal::Error (91, "Object variable or With block
/// variable not set") when the host has not handed them yet.
tqGlobal::IHostServices& GIC();
bool hasGIC();

int16_t SelectedCodeCount();
void setSelectedCodeCount(int16_t value);
QString ScreenResultText();
void setScreenResultText(const QString& value);

}  // namespace tqservicecode
