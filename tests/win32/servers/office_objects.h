#pragma once

// The automation objects of the stand-in office application, answering by
// name and logging every call: the Application and what it hands out.
#include <windows.h>

namespace office_server {

// Makes a new Application for each client; lives as long as the process.
IClassFactory& applicationFactory();

}  // namespace office_server
