namespace app::settings {
inline constexpr int EnumTotalCount = 2;
} // namespace app::settings
