// The program's version, in one place: the resource script and the code read it.
#pragma once

#define ZORIZA_VERSION_MAJOR 1
#define ZORIZA_VERSION_MINOR 0
#define ZORIZA_VERSION_PATCH 0
#define ZORIZA_VERSION_BUILD 0
#define ZORIZA_VERSION_TEXT "1.00"
#define ZORIZA_PRODUCT_NAME "ZORIZA"
#define ZORIZA_FILE_NAME "ZORIZA.exe"
#define ZORIZA_COMPANY_NAME "ZORIZA developers"
#define ZORIZA_DESCRIPTION "ZORIZA: client connection to the VEK application server"
