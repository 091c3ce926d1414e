#pragma once

#include <tqglobal/Error.h>

#include <functional>

namespace tqtest {

/// The error number a call raises; 0 when it raises none.
inline long errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const tqGlobal::Error& error) {
        return error.number();
    }
    return 0;
}

}  // namespace tqtest
