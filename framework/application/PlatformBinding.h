// The platform pieces the application creates. Each platform defines these
// in its own file under framework/application/platform/, chosen by the build.
#pragma once

#include <cstdint>

class IRkApplicationImp;
class IRkMessageTarget;
class IRkSystemImp;

// The event loop side of `application`; `startup` is the platform's start-up
// data, handed on unchanged.
IRkApplicationImp* CreateApplicationImp(IRkMessageTarget* application, void* startup);
IRkSystemImp* CreateSystemImp();
// The program's string resource of a number (the localized strings'
// tables): its bytes and size, or null.
const uint8_t* FindPlatformStringResource(uint32_t resourceId, uint32_t& size);
