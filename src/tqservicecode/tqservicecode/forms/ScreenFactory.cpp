#include <tqservicecode/forms/ScreenFactory.h>

#include <tqservicecode/forms/ContextHelp.h>
#include <tqservicecode/forms/HelpWindow.h>

#include <QDialog>
#include <QHash>

namespace tqservicecode {

namespace {

QHash<QString, ScreenFactory::Creator>& registry() {
    static QHash<QString, ScreenFactory::Creator> creators;
    return creators;
}

}  // namespace

ScreenFactory::Creator ScreenFactory::registerScreen(const QString& name, Creator creator) {
    Creator previous = registry().value(name);
    registry().insert(name, std::move(creator));
    return previous;
}

void ScreenFactory::unregisterScreen(const QString& name) {
    registry().remove(name);
}

std::unique_ptr<QDialog> ScreenFactory::create(const QString& name) {
    const Creator creator = registry().value(name);
    if (!creator) {
        return nullptr;
    }
    std::unique_ptr<QDialog> screen = creator();
    if (screen && screen->objectName().isEmpty()) {
        screen->setObjectName(name);
    }
    // F1 opens the screen's own help page, whether or not the screen set a help context.
    if (screen && HelpContextOfScreen(screen->objectName()) != 0 &&
        screen->findChild<HelpKey*>(QString(), Qt::FindDirectChildrenOnly) == nullptr) {
        new HelpKey(screen.get());
    }
    return screen;
}

ScreenFactory::Registration::Registration(QString name, Creator creator)
    : m_name(std::move(name)), m_previous(registerScreen(m_name, std::move(creator))) {}

ScreenFactory::Registration::~Registration() {
    if (m_previous) {
        registerScreen(m_name, std::move(m_previous));
    } else {
        unregisterScreen(m_name);
    }
}

}  // namespace tqservicecode
