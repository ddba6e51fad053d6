// The platform library's own translation unit; its real content lives in the subsystem folders.
namespace torchwheel_platform_unit {}
