// The platform pieces the application creates. Each platform defines these
// in its own file under framework/application/platform/, chosen by the build.
#pragma once

class IRkApplicationImp;
class IRkMessageTarget;
class IRkSystemImp;

// The event loop side of `application`; `startup` is the platform's start-up
// data, handed on unchanged.
IRkApplicationImp* CreateApplicationImp(IRkMessageTarget* application, void* startup);
IRkSystemImp* CreateSystemImp();
