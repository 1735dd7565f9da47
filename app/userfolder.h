// The user's Pelorix folder.
#pragma once

#include <filesystem>

namespace pelorix::app {
// "Pelorix" inside the user's Pictures folder, or inside the application data folder where there
// is no Pictures folder. Creates nothing.
std::filesystem::path pelorixFolderPath();
}  // namespace pelorix::app
