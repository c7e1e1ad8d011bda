#include "CZipFileException.h"

#include <cstring>

CZipFileException::CZipFileException(const std::string& what, std::string path, int errorNumber)
    : std::runtime_error(what + " \"" + path + "\"" +
                         (errorNumber ? std::string(": ") + std::strerror(errorNumber) : "")),
      m_path(std::move(path)),
      m_errno(errorNumber) {}
