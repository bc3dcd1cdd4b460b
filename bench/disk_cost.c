// scorvane-disk-cost PATH
//   does to the tree PATH exactly the disk work the destroy-folder command does by method 0, and nothing
//   else, and prints the seconds it took: the disk's own cost of that work, against which the program's
//   overhead is measured. Per file, in the program's order (each folder's files by name, then its
//   sub-folders by name, depth first): open, one pass of the file's length, fdatasync, a rename to 24
//   random capitals, the cut to length 0, the 3-byte stub, close, unlink. Then every folder, deepest first:
//   a rename to 16 random digits, fsync of the folder, rmdir. Only regular files and folders are expected.
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static uint64_t state = 88172645463325252u;

static unsigned Next(unsigned range) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return (unsigned)(state % range);
}

static void Die(const char* what, const char* name) {
    fprintf(stderr, "FAILED: %s %s: %s\n", what, name, strerror(errno));
    exit(1);
}

static char pass[1 << 16];

static int ByName(const void* a, const void* b) { return strcmp(*(char* const*)a, *(char* const*)b); }

// The folders met, parents first, each as (handle of its parent, its name): removed from the end.
struct Folder {
    int parent;
    char* name;
};
static struct Folder* folders;
static size_t folderCount, folderRoom;

static void WipeFile(int folder, const char* name) {
    const int fd = openat(folder, name, O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) Die("open", name);
    struct stat info;
    if (fstat(fd, &info) != 0) Die("fstat", name);
    for (off_t at = 0; at < info.st_size;) {
        const size_t size = info.st_size - at < (off_t)sizeof pass ? (size_t)(info.st_size - at) : sizeof pass;
        const ssize_t written = pwrite(fd, pass, size, at);
        if (written <= 0) Die("write", name);
        at += written;
    }
    if (fdatasync(fd) != 0) Die("fdatasync", name);
    char renamed[25];
    for (int i = 0; i < 24; ++i) renamed[i] = (char)('A' + Next(25));
    renamed[24] = '\0';
    if (renameat2(folder, name, folder, renamed, RENAME_NOREPLACE) != 0) Die("rename", name);
    if (ftruncate(fd, 0) != 0) Die("ftruncate", name);
    if (pwrite(fd, " \r\n", 3, 0) != 3) Die("stub", name);
    if (close(fd) != 0) Die("close", name);
    if (unlinkat(folder, renamed, 0) != 0) Die("unlink", renamed);
}

// The files of the folder, then its sub-folders; `folder` stays open until the folders are removed.
static void Walk(int folder) {
    const int listed = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = fdopendir(listed);
    if (entries == NULL) Die("opendir", ".");
    char** files = NULL;
    char** subFolders = NULL;
    size_t fileCount = 0, subCount = 0, fileRoom = 0, subRoom = 0;
    for (struct dirent* entry; (entry = readdir(entries)) != NULL;) {
        if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) continue;
        if (entry->d_type == DT_DIR) {
            if (subCount == subRoom) subFolders = realloc(subFolders, (subRoom = 2 * subRoom + 16) * sizeof *subFolders);
            subFolders[subCount++] = strdup(entry->d_name);
        } else {
            if (fileCount == fileRoom) files = realloc(files, (fileRoom = 2 * fileRoom + 16) * sizeof *files);
            files[fileCount++] = strdup(entry->d_name);
        }
    }
    closedir(entries);
    qsort(files, fileCount, sizeof *files, ByName);
    qsort(subFolders, subCount, sizeof *subFolders, ByName);
    for (size_t i = 0; i < fileCount; ++i) {
        WipeFile(folder, files[i]);
        free(files[i]);
    }
    free(files);
    for (size_t i = 0; i < subCount; ++i) {
        if (folderCount == folderRoom) folders = realloc(folders, (folderRoom = 2 * folderRoom + 16) * sizeof *folders);
        folders[folderCount++] = (struct Folder){folder, subFolders[i]};
        const int sub = openat(folder, subFolders[i], O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0) Die("open folder", subFolders[i]);
        Walk(sub);
    }
    free(subFolders);
}

static void RemoveFolder(int parent, const char* name) {
    char renamed[17];
    for (int i = 0; i < 16; ++i) renamed[i] = (char)('0' + Next(9));
    renamed[16] = '\0';
    if (renameat2(parent, name, parent, renamed, RENAME_NOREPLACE) != 0) Die("rename folder", name);
    const int own = openat(parent, renamed, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (own < 0 || fsync(own) != 0) Die("fsync folder", renamed);
    close(own);
    if (unlinkat(parent, renamed, AT_REMOVEDIR) != 0) Die("rmdir", renamed);
}

int main(int argc, char* argv[]) {
    if (argc != 2) {
        fprintf(stderr, "usage: scorvane-disk-cost PATH\n");
        return 2;
    }
    memset(pass, 'X', sizeof pass);
    state ^= (uint64_t)getpid();
    struct timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);

    // The chosen folder is reached from its parent, as the program anchors it.
    char* path = strdup(argv[1]);
    while (strlen(path) > 1 && path[strlen(path) - 1] == '/') path[strlen(path) - 1] = '\0';
    char* slash = strrchr(path, '/');
    const char* name = slash ? slash + 1 : path;
    if (slash == path) {
        path = "/";
    } else if (slash) {
        *slash = '\0';
    } else {
        path = ".";
    }
    const int parent = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0) Die("open", path);
    folders = malloc(16 * sizeof *folders);
    folderRoom = 16;
    folders[folderCount++] = (struct Folder){parent, (char*)name};
    const int top = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (top < 0) Die("open folder", name);
    Walk(top);
    while (folderCount > 0) {
        --folderCount;
        RemoveFolder(folders[folderCount].parent, folders[folderCount].name);
    }

    clock_gettime(CLOCK_MONOTONIC, &end);
    printf("%.3f\n", (double)(end.tv_sec - start.tv_sec) + (double)(end.tv_nsec - start.tv_nsec) / 1e9);
    return 0;
}
