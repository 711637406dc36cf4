#pragma once

#include <windows.h>
#include <stddef.h>

// Message maps. A class writes its map as an ordered list of entries:
//
//   BOOL Dialog::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam,
//                                     LPARAM lParam, LRESULT& result, DWORD mapId)
//   {
//       using Map = MessageMap<Dialog>;
//       static constexpr Map::Entry entries[] = {
//           Map::Message(WM_INITDIALOG, &Dialog::OnInitDialog),
//           Map::CommandId(IDOK, &Dialog::OnClose),
//           Map::Reflect(),
//       };
//       return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
//   }
//
// Entries before the first AlternateMap belong to map 0, the default map that
// the window and dialog procedures ask; AlternateMap(n) starts map n.
//
// Every handler entry sets the handled flag before calling its handler and
// stores the handler's result. A handler that clears the flag lets the later
// entries, and finally the default processing, see the same message; the
// result is then the last handler's.
enum class MapEntryKind { Message, MessageRange, Command, Chain, Reflect, PassToChildren, AlternateMap };

template <class T>
struct MapEntry {
    using MessageHandler = LRESULT (T::*)(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    using CommandHandler = LRESULT (T::*)(WORD notifyCode, WORD id, HWND control, BOOL& handled);
    using ChainHandler = BOOL (*)(T& self, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  LRESULT& result, DWORD mapId);

    MapEntryKind kind;
    UINT first;   // message, or first of a range
    UINT last;    // last of a range
    int id;       // command id, -1 for any
    int code;     // notification code, -1 for any
    MessageHandler onMessage;
    CommandHandler onCommand;
    ChainHandler chain;
    DWORD mapId;  // the map a chain asks, or the map an AlternateMap starts
};

template <class T>
struct MessageMap {
    using Entry = MapEntry<T>;
    using MessageHandler = typename Entry::MessageHandler;
    using CommandHandler = typename Entry::CommandHandler;
    using ChainHandler = typename Entry::ChainHandler;

    static constexpr Entry Message(UINT message, MessageHandler handler)
    {
        return {MapEntryKind::Message, message, message, -1, -1, handler, nullptr, nullptr, 0};
    }
    static constexpr Entry MessageRange(UINT first, UINT last, MessageHandler handler)
    {
        return {MapEntryKind::MessageRange, first, last, -1, -1, handler, nullptr, nullptr, 0};
    }
    // WM_COMMAND from one control id, whatever the notification code.
    static constexpr Entry CommandId(WORD id, CommandHandler handler)
    {
        return {MapEntryKind::Command, WM_COMMAND, WM_COMMAND, id, -1, nullptr, handler, nullptr, 0};
    }
    // WM_COMMAND with one notification code, from any control.
    static constexpr Entry CommandCode(WORD code, CommandHandler handler)
    {
        return {MapEntryKind::Command, WM_COMMAND, WM_COMMAND, -1, code, nullptr, handler, nullptr, 0};
    }
    static constexpr Entry Command(WORD id, WORD code, CommandHandler handler)
    {
        return {MapEntryKind::Command, WM_COMMAND, WM_COMMAND, id, code, nullptr, handler, nullptr, 0};
    }
    // Asks another map; TRUE from it ends the dispatch.
    static constexpr Entry Chain(ChainHandler chain, DWORD chainMapId = 0)
    {
        return {MapEntryKind::Chain, 0, 0, -1, -1, nullptr, nullptr, chain, chainMapId};
    }
    // Asks the map of the base class Base.
    template <class Base>
    static constexpr Entry ChainBase(DWORD chainMapId = 0)
    {
        return Chain(&AskBase<Base>, chainMapId);
    }
    // Sends the notifications of child controls back to them (T's ReflectNotifications).
    static constexpr Entry Reflect()
    {
        return {MapEntryKind::Reflect, 0, 0, -1, -1, nullptr, nullptr, nullptr, 0};
    }
    // Sends the message on to each child of the window; the later entries see
    // it too. For what the system tells top-level windows alone and their
    // controls want as well: WM_SYSCOLORCHANGE, from which the common controls
    // take up the new colours.
    static constexpr Entry PassToChildren(UINT message)
    {
        return {MapEntryKind::PassToChildren, message, message, -1, -1, nullptr, nullptr, nullptr, 0};
    }
    static constexpr Entry AlternateMap(DWORD id)
    {
        return {MapEntryKind::AlternateMap, 0, 0, -1, -1, nullptr, nullptr, nullptr, id};
    }

    template <size_t N>
    static BOOL Dispatch(T& self, const Entry (&entries)[N], HWND window, UINT message,
                         WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId)
    {
        DWORD currentMap = 0;
        for (size_t i = 0; i < N; ++i) {
            const Entry& entry = entries[i];
            if (entry.kind == MapEntryKind::AlternateMap) {
                currentMap = entry.mapId;
                continue;
            }
            if (currentMap != mapId)
                continue;
            BOOL handled = TRUE;
            switch (entry.kind) {
            case MapEntryKind::Message:
            case MapEntryKind::MessageRange:
                if (message < entry.first || message > entry.last)
                    continue;
                result = (self.*entry.onMessage)(message, wParam, lParam, handled);
                break;
            case MapEntryKind::Command:
                if (message != WM_COMMAND
                    || (entry.id != -1 && LOWORD(wParam) != static_cast<WORD>(entry.id))
                    || (entry.code != -1 && HIWORD(wParam) != static_cast<WORD>(entry.code)))
                    continue;
                result = (self.*entry.onCommand)(HIWORD(wParam), LOWORD(wParam),
                                                 reinterpret_cast<HWND>(lParam), handled);
                break;
            case MapEntryKind::Chain:
                if (entry.chain(self, window, message, wParam, lParam, result, entry.mapId))
                    return TRUE;
                continue;
            case MapEntryKind::Reflect:
                result = self.ReflectNotifications(message, wParam, lParam, handled);
                break;
            case MapEntryKind::PassToChildren:
                if (message == entry.first)
                    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
                         child = ::GetWindow(child, GW_HWNDNEXT))
                        ::SendMessageA(child, message, wParam, lParam);
                continue;
            case MapEntryKind::AlternateMap:
                continue;
            }
            if (handled)
                return TRUE;
        }
        return FALSE;
    }

private:
    template <class Base>
    static BOOL AskBase(T& self, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT& result, DWORD chainMapId)
    {
        return self.Base::ProcessWindowMessage(window, message, wParam, lParam, result, chainMapId);
    }
};
