# The program's call stubs for the entry slots that take a value in a register.
        .intel_syntax noprefix
        .text

# void velmora_invoke_command_entry(entry, command, library, argCount, args, result)
# Pushes the records (argument 1 ends at the lowest address) and the count, puts the command in
# eax and the library index in ecx, calls the entry and stores eax, edx, ecx into *result.
        .globl  _velmora_invoke_command_entry
_velmora_invoke_command_entry:
        push    ebp
        mov     ebp, esp
        push    esi
        push    edi
        mov     ecx, [ebp+20]
        lea     ecx, [ecx+ecx*2]
        shl     ecx, 2
        sub     esp, ecx
        mov     edi, esp
        mov     esi, [ebp+24]
        rep movsb
        push    dword ptr [ebp+20]
        mov     eax, [ebp+12]
        mov     ecx, [ebp+16]
        call    dword ptr [ebp+8]
        mov     esi, [ebp+28]
        mov     [esi], eax
        mov     [esi+4], edx
        mov     [esi+8], ecx
        lea     esp, [ebp-8]
        pop     edi
        pop     esi
        pop     ebp
        ret

# uint32_t velmora_invoke_dll_command(runtime, index, words, wordCount, sourceId, position)
# Saves the stack pointer, pushes the words (the first ends at the lowest address), puts the
# index in eax and calls slot 1. The function removes its own arguments: when the stack pointer
# then differs from the saved one, slot 0 reports runtime error 6 and does not return.
        .globl  _velmora_invoke_dll_command
_velmora_invoke_dll_command:
        push    ebp
        mov     ebp, esp
        push    ebx
        push    esi
        mov     ebx, esp
        mov     ecx, [ebp+20]
        mov     esi, [ebp+16]
        lea     esi, [esi+ecx*4]
1:      test    ecx, ecx
        jz      2f
        sub     esi, 4
        push    dword ptr [esi]
        dec     ecx
        jmp     1b
2:      mov     eax, [ebp+12]
        mov     edx, [ebp+8]
        call    dword ptr [edx+4]
        cmp     esp, ebx
        jne     3f
        pop     esi
        pop     ebx
        pop     ebp
        ret
3:      mov     esp, ebx
        push    dword ptr [ebp+28]
        push    dword ptr [ebp+24]
        push    6
        mov     edx, [ebp+8]
        call    dword ptr [edx]

# uintptr_t velmora_invoke_runtime_service(entry, service, argument)
        .globl  _velmora_invoke_runtime_service
_velmora_invoke_runtime_service:
        push    ebp
        mov     ebp, esp
        push    dword ptr [ebp+16]
        mov     eax, [ebp+12]
        call    dword ptr [ebp+8]
        leave
        ret

# void velmora_reset_floating_point()
        .globl  _velmora_reset_floating_point
_velmora_reset_floating_point:
        fninit
        cld
        ret
