// Errors of the book's storage files. Every message names the file and what is wrong.
#pragma once

#include <stdexcept>
#include <string>

namespace quire::storage {

// A file that cannot be opened or read.
class FileOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A pack or archive whose structure or compressed data is damaged.
class DamagedFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quire::storage
