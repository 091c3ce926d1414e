#pragma once

#include <tqservicecode/tqservicecode_export.h>

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace tqservicecode {

/// Creates the component's screens by name, so that a screen can be replaced (by a test,
/// or by a host that brings its own) and so that screens built later plug in where they
/// are opened.
class TQSERVICECODE_EXPORT ScreenFactory {
public:
    using Creator = std::function<std::unique_ptr<QDialog>()>;

    /// Registers (or replaces) the screen called name; answers the creator it replaced.
    static Creator registerScreen(const QString& name, Creator creator);
    /// Removes a registration; the screen then cannot be opened.
    static void unregisterScreen(const QString& name);
    /// A new screen, or null when none is registered under name.
    static std::unique_ptr<QDialog> create(const QString& name);

    /// Registers a screen for the lifetime of the object, then restores what was there.
    class Registration {
    public:
        Registration(QString name, Creator creator);
        ~Registration();
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;

    private:
        QString m_name;
        Creator m_previous;
    };
};

}  // namespace tqservicecode
