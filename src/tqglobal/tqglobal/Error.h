#pragma once

#include <tqplatform/Error.h>

namespace tqGlobal {

/// The error type lives in the platform, which raises it; the host's interface sits above
/// the platform and names it here so that hosts keep writing tqGlobal::Error.
using Error = tqplatform::Error;
namespace ErrorNumber = tqplatform::ErrorNumber;

}  // namespace tqGlobal
