/* The physical limit of making a calendar file: a minimal static program that writes
 * bytes it already holds into a temporary file beside the target, fsyncs it and renames
 * it into place, as tessaly-cli's saver does. Built by compare-startup.sh with the files
 * to write embedded (HTML_FILE and PDF_FILE).
 *
 *   write_limit html|pdf TARGET
 */
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#define EMBED(name, file)                                              \
    __asm__(".section .rodata\n.global " #name "\n" #name ":\n"        \
            ".incbin \"" file "\"\n.global " #name "_end\n" #name "_end:\n" \
            ".previous\n");                                            \
    extern const char name[], name##_end[];

EMBED(html_bytes, HTML_FILE)
EMBED(pdf_bytes, PDF_FILE)

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    const int pdf = strcmp(argv[1], "pdf") == 0;
    const char* data = pdf ? pdf_bytes : html_bytes;
    size_t size = (size_t)((pdf ? pdf_bytes_end : html_bytes_end) - data);
    char temporary[4096];
    snprintf(temporary, sizeof temporary, "%s.tmp", argv[2]);
    const int fd = open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return 1;
    }
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written <= 0) {
            return 1;
        }
        data += written;
        size -= (size_t)written;
    }
    if (fsync(fd) != 0 || close(fd) != 0 || rename(temporary, argv[2]) != 0) {
        return 1;
    }
    return 0;
}
