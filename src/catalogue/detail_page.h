// The detail page of a book: read into the record.
#pragma once

#include <string>

// Reads the detail page saved at path into Book; false when the code is to
// be dropped.
bool ParseDetailPage(const std::string& path, const std::string& baseAddress);
