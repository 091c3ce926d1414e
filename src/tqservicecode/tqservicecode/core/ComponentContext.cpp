#include <tqservicecode/core/ComponentContext.h>

#include <tqglobal/Error.h>

namespace tqservicecode {

ComponentContext& context() {
    thread_local ComponentContext values;
    return values;
}

tqGlobal::IHostServices& GIC() {
    auto& gic = context().gic;
    if (!gic) {
        throw tqGlobal::Error(91, QStringLiteral("Object variable or With block variable not set"));
    }
    return *gic;
}

bool hasGIC() {
    return context().gic != nullptr;
}

int16_t SelectedCodeCount() {
    return context().selectedCodeCount;
}
void setSelectedCodeCount(int16_t value) {
    context().selectedCodeCount = value;
}
QString ScreenResultText() {
    return context().screenResultText;
}
void setScreenResultText(const QString& value) {
    context().screenResultText = value;
}

}  // namespace tqservicecode
