#pragma once
// Checks that need a process of their own: another user, a private mount namespace.
#include <functional>
#include <string>

namespace kerfline::test {

/// In a forked child: gives up root for nobody (65534, no supplementary groups), so that
/// permission bits count (tests run as root in CI, and root ignores them). True when the
/// process is now unprivileged (or never was root).
bool dropPrivileges();

/// Runs body in a forked child and returns the text it returned (or "exception: <what>").
/// "skip: <why>" by convention when the child cannot set itself up.
std::string inChild(const std::function<std::string()>& body);

/// inChild, after dropPrivileges(); "skip: cannot drop privileges" when that fails.
std::string asUnprivilegedUser(const std::function<std::string()>& body);

}  // namespace kerfline::test
