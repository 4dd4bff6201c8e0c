#include "framework/MessageBox.h"

#include "framework/App.h"

#include <utility>

namespace {

MessageBoxScript& Script()
{
    static MessageBoxScript script;
    return script;
}

}  // namespace

UINT MessageBoxStyle(UINT type)
{
    const UINT buttons = type & MB_TYPEMASK;
    const bool wantsDefaultIcon = buttons == MB_OK || buttons == MB_OKCANCEL || buttons == MB_YESNO ||
                                  buttons == MB_YESNOCANCEL;
    if ((type & MB_ICONMASK) == 0 && wantsDefaultIcon)
        type |= MB_ICONEXCLAMATION;
    return type;
}

int AppMessageBox(const std::string& text, UINT type)
{
    type = MessageBoxStyle(type);
    if (Script())
        return Script()(text, AppName(), type);
    return MessageBoxA(AppOwnerWindow(), text.c_str(), AppName().c_str(), type);
}

MessageBoxScript SetMessageBoxScript(MessageBoxScript script)
{
    return std::exchange(Script(), std::move(script));
}
