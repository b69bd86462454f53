// Placeholder so the library target exists before its first real source.
namespace vq {
int cli_anchor = 0;
}
