// The GUI library's own translation unit; its real content lives in the subsystem folders.
namespace torchwheel_gui_unit {}
