// A rectangle as test logs and failure texts write it: "left,top,right,bottom".
#pragma once

#include <windows.h>

#include <string>

inline std::string RectText(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}
