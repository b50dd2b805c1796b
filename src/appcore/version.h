#pragma once

namespace kerfline {

/// The program's version ("0.1.0"), the same for both programs and the package.
const char* programVersion();

/// The licence the programs are distributed under, as one sentence.
const char* programLicence();

}  // namespace kerfline
