// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Makes the user's data folder from the shipped data in shipped, brings it up
// to date and makes it the working directory, where the run looks for its
// data. A failure is told in an error box, a changed course file kept in an
// information box, both also on standard error. False when there is no data
// folder to work in.
bool EnterUserDataFolder(const std::string& shipped);
