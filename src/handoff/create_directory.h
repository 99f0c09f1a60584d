// The offer to create a directory that nothing matched.
#pragma once

#include <string>

namespace vantor::handoff {

// Reports that nothing matched `spec` and offers the CreateList: a yes/no
// question for one candidate, the selection screen for several. Returns
// when nothing is created; ends the run with 255 when the user says no,
// and in the new directory after a successful creation.
void OfferCreation(const std::string& spec);

// Creates every missing directory of `path` from its root down. False
// after reporting a failure.
bool CreateDirectoryPath(const std::string& path);

}  // namespace vantor::handoff
