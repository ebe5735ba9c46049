/* User-interface module of the "Corvel PDF" printer driver. The printer has no settings
   of its own, so the module only names the driver it belongs to. */
#define KVX_EXPORT __attribute__((visibility("default")))

KVX_EXPORT const char* KvxDriverUiFor(void)
{
    return "Corvel PDF";
}
