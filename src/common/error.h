#pragma once
#include <stdexcept>

namespace kerfline {

/// An error whose message is the sentence the user reads (in a "Kerfline" box, or on stderr).
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kerfline
