#pragma once

#include <windows.h>
#include <ole2.h>

namespace SkinUI {

class CActiveXUI;

// Connects (or with connect false disconnects) the sink to the source's
// connection point for the events interface; the cookie is kept in and out.
// S_FALSE without a source.
HRESULT ConnectEventSink(IUnknown* source, REFIID events, IUnknown* sink, DWORD& cookie, bool connect);

// Keyboard messages for a hosted object while the focus is in the host's
// window or one of its descendants: the object's in-place active interface
// translates them. S_FALSE for other messages, other focus or no such
// interface; E_NOTIMPL without an object.
HRESULT TranslateForHostedObject(const CActiveXUI& host, IUnknown* object, MSG* msg);

} // namespace SkinUI
