#pragma once

// The one scope-exit helper that pairs each acquisition with its release.

#include <utility>

// Runs a release when the scope that acquired something is left, by any path.
template <class Release> class ScopeExit {
public:
  explicit ScopeExit(Release release) : release_(std::move(release)) {}
  ~ScopeExit() { release_(); }
  ScopeExit(const ScopeExit &) = delete;
  ScopeExit &operator=(const ScopeExit &) = delete;

private:
  Release release_;
};
