// The recorder in place of one of the system's own programs, where the
// monitor runs it from: Wine runs a real program found there instead of its
// own. The program is put back when the stand-in goes.
#ifndef LUMEVIEW_TEST_SYSTEM_STAND_IN_H
#define LUMEVIEW_TEST_SYSTEM_STAND_IN_H

#include <string>

enum class SystemFolder { Windows, System };

// The folder's path without a trailing '\'.
std::string SystemFolderPath(SystemFolder folder);

class SystemProgramStandIn {
public:
    SystemProgramStandIn(SystemFolder folder, const std::string& name);
    ~SystemProgramStandIn();
    SystemProgramStandIn(const SystemProgramStandIn&) = delete;
    SystemProgramStandIn& operator=(const SystemProgramStandIn&) = delete;

    bool installed() const { return installed_; }
    const std::string path;  // where the recorder now is

private:
    std::string saved_;
    bool installed_ = false;
};

#endif
